// The replay tool checks one game a run, in well under a second: V8's optimising tier would
// spend more CPU compiling the game in the background than its faster code saves (over ten
// minutes of games the two come out even). The baseline compiler alone halves a one-game
// check's cost (bench/RESULTS.md).
require('v8').setFlagsFromString('--liftoff-only');
