// How the platform waits for time to pass. On the desktop it sleeps; in a browser the page
// must have control back while the game waits, so there each wait hands it over.
#pragma once

// Between two readings of the clock that found the same millisecond.
void RestWhilePolling();
// Between two reads of a device that found nothing new, so that a loop waiting for the player
// does not spin a core.
void RestBetweenReads();
// Returns no sooner than 1/60 s after the previous flip.
void PaceRealFlip();
// Between two pieces of the game's start (a picture read, a surface made, a font opened): before
// the first flip, a browser's page gets control back whenever the start has held it a while, so
// that no piece of the start blocks the page long.
void RestWhileStarting();
