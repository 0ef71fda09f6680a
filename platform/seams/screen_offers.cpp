#include "platform/seams/screen_offers.h"

#include "platform/seams/play_under_way.h"

namespace {

EscapeOffer lastEscape = EscapeOffer::None;
bool lastNameWanted = false;
bool lastAtStake = false;
ScreenOffersObserver observer = nullptr;

}  // namespace

void NoteScreenOffers(EscapeOffer escape, bool nameWanted) {
  const bool atStake = RulesInPlay() || NameAhead();
  if (escape == lastEscape && nameWanted == lastNameWanted && atStake == lastAtStake) return;
  lastEscape = escape;
  lastNameWanted = nameWanted;
  lastAtStake = atStake;
  if (observer != nullptr) observer(escape, nameWanted, atStake);
}

void NoteClickAwaited() { NoteScreenOffers(EscapeOffer::None, false); }

void SetScreenOffersObserver(ScreenOffersObserver newObserver) { observer = newObserver; }
