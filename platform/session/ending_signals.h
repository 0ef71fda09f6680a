// The session asking the game to end: SIGTERM (a logout, which kills a few seconds later),
// SIGINT (Ctrl+C), SIGHUP (the terminal or the session gone) and SIGQUIT (Ctrl+\ in the
// terminal). The game's waits for the player give up once one has come, so that shutdown runs
// and the table is saved in time.
#pragma once

// Catches the four signals on top of the handlers already there (SDL's, which turn SIGINT and
// SIGTERM into a quit request; a hang-up or a quit is forwarded as SIGTERM), and ignores
// SIGPIPE. A signal ignored at launch (nohup) stays ignored. SIGUSR1 and SIGUSR2 are left to
// the system: they end the process at once, without a save. Once per process is enough; later
// calls do nothing.
void CatchEndingSignals();

// The first of the four signals that came, or 0.
int EndingSignal();
// Ends the session from within, as SIGINT would (the replay watcher's Escape): the waits give
// up and nothing reads as held from then on. EndingSignal() gives SIGINT unless a signal came
// first.
void EndSessionFromWithin();
inline bool SessionEnding() { return EndingSignal() != 0; }
