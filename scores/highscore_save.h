// Keeping this run's new rows in Highscore.dat, when another game in the same folder may have
// saved its own meanwhile.
#pragma once

// Whether the last save of the run failed; the highscore screen says so, and the program's
// exit status is 1.
extern bool HighscoreSaveFailed;

// Merges the rows this run entered since the last save into the table now on the disk (read
// under a lock on its folder, so that saves of two games take turns) and writes the result in
// place of the old file, which is replaced only once the new one is whole. The merged table is
// then the one shown. A run that entered nothing leaves the file alone. On failure one line on
// standard error names the file and the reason, the file stays as it was and the new rows wait
// for the next save. False when it failed.
bool SaveHighscores();
