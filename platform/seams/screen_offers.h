// What the screen shown now asks of the player beyond pointing and clicking, told by the
// frame loop after every frame: whether Escape gives up a game or goes back to the title, and
// whether a name is being typed. A page offers its own ways to do those (a button, a phone's
// keyboard); nothing the game does depends on it.
#pragma once

enum class EscapeOffer { None, GiveUp, Back };

void NoteScreenOffers(EscapeOffer escape, bool nameWanted);

// Told of every change, once the game's frames say something new.
using ScreenOffersObserver = void (*)(EscapeOffer escape, bool nameWanted);
void SetScreenOffersObserver(ScreenOffersObserver observer);
