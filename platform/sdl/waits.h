// How the platform waits for time to pass. On the desktop it sleeps; in a browser the page
// must have control back while the game waits, so there each wait hands it over.
#pragma once

// Between two readings of the clock that found the same millisecond.
void RestWhilePolling();
// Returns no sooner than 1/60 s after the previous flip.
void PaceRealFlip();
