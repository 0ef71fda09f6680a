// What the screen shown now asks of the player beyond pointing and clicking, told by the
// frame loop after every frame: whether Escape gives up a game or goes back to the title, and
// whether a name is being typed; and whether a game would be lost if the program ended now (in
// play, or its name still ahead), so that a page asks before it is left. A page offers its own
// ways to do those (a button, a phone's keyboard); nothing the game does depends on it.
#pragma once

enum class EscapeOffer { None, GiveUp, Back };

void NoteScreenOffers(EscapeOffer escape, bool nameWanted);
// A wait for a click (an OK box, a stage's intro, a closing picture): Escape does nothing there.
void NoteClickAwaited();

// Told of every change, once the game's frames say something new.
using ScreenOffersObserver = void (*)(EscapeOffer escape, bool nameWanted, bool gameAtStake);
void SetScreenOffersObserver(ScreenOffersObserver observer);
