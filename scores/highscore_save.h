// Keeping this run's new rows in Highscore.dat, when another game in the same folder may have
// saved its own meanwhile.
#pragma once

// Whether the last save of the run failed; the highscore screen says so.
extern bool HighscoreSaveFailed;
// Whether a row this run entered is still not saved: the program's exit status is then 1. A run
// that entered nothing has lost nothing when the table could not be written.
bool HighscoreRowsUnsaved();

// Shutdown's save: merges the rows this run entered since the last save into the table now on
// the disk (read under a lock on its folder, so that saves of two games take turns, and read
// as start-up reads it: a short file fills only the bytes it holds, a long one gives its first
// 400) and writes the 400 bytes in place of the old file, which is replaced only once the new
// one is whole; a run that entered nothing writes the table it finds, so a missing file is
// created and a short or long one comes back at 400 bytes. A file that already holds exactly
// those bytes is left alone. The merged table is then the one shown. On failure one line on
// standard error names the file and the reason, the file stays as it was and the new rows wait
// for the next save. False when it failed.
bool SaveHighscores();

// The same, but only when the run entered a row since the last save: a name is kept as soon as
// it is complete, and when the highscore screen is left, not only at shutdown.
bool SaveNewHighscores();
