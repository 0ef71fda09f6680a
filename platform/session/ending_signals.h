// The session asking the game to end: SIGTERM (a logout, which kills a few seconds later),
// SIGINT (Ctrl+C) and SIGHUP (the terminal or the session gone). The game's waits for the
// player give up once one has come, so that shutdown runs and the table is saved in time.
#pragma once

// Catches the three signals on top of the handlers already there (SDL's, which turn SIGINT and
// SIGTERM into a quit request; a hang-up is forwarded as SIGTERM). A signal ignored at launch
// (nohup) stays ignored. Once per process is enough; later calls do nothing.
void CatchEndingSignals();

// The first of the three signals that came, or 0.
int EndingSignal();
// Ends the session from within, as SIGINT would (the replay watcher's Escape): the waits give
// up and nothing reads as held from then on. EndingSignal() gives SIGINT unless a signal came
// first.
void EndSessionFromWithin();
inline bool SessionEnding() { return EndingSignal() != 0; }
