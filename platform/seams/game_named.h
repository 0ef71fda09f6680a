// Told when a game's name is complete in the highscore table (its third character typed), with
// the row that holds it, before the table is saved: where a game the player keeps ends, and
// what a replay proves. Observers see the row as the screen shows it; they draw no number and
// move no clock.
#pragma once

using GameNamedObserver = void (*)(int row);

// Observers are told in the order they were added, and stay for the life of the process.
void AddGameNamedObserver(GameNamedObserver observer);

// Called by the highscore screen.
void NotifyGameNamed(int row);
