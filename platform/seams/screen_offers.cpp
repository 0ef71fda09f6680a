#include "platform/seams/screen_offers.h"

namespace {

EscapeOffer lastEscape = EscapeOffer::None;
bool lastNameWanted = false;
ScreenOffersObserver observer = nullptr;

}  // namespace

void NoteScreenOffers(EscapeOffer escape, bool nameWanted) {
  if (escape == lastEscape && nameWanted == lastNameWanted) return;
  lastEscape = escape;
  lastNameWanted = nameWanted;
  if (observer != nullptr) observer(escape, nameWanted);
}

void SetScreenOffersObserver(ScreenOffersObserver newObserver) { observer = newObserver; }
