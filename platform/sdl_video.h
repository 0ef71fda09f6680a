// Brings SDL's video and event subsystems up once, with the settings the game window needs.
#pragma once

// Returns false when SDL's video cannot be started (no display).
bool EnsureSdlVideo();
