// Brings SDL's video and event subsystems up once, with the settings the game window needs.
#pragma once

// Returns false, having said why on standard error once, when no display can be opened;
// only the headless backend runs without one.
bool EnsureSdlVideo();
