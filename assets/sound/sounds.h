#pragma once
// The game's four sounds, synthesised from scratch.
#include "tools/sound/synth.h"

Signal MakeSwatSlap();   // Hit.WAV: a sharp slap, about 0.25 s
Signal MakeFlyBuzz();    // Fly.WAV: a buzz that loops seamlessly, 4 s
Signal MakeBossCry();    // au.WAV: the Fly King's "ow!", about 0.5 s
Signal MakeCreamSplat(); // go.WAV: a soft splat of cream, about 0.3 s
