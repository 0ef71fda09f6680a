#include "tests/support/play_session.h"

#include "tests/support/screen_places.h"

Buzz BuzzOf(int fly) {
  Buzz buzz{};
  IDirectSoundBuffer* buffer = SoundSlots[FlyBuzz[fly]].buffer;
  DWORD status = 0;
  DWORD writeCursor = 0;
  buffer->GetVolume(&buzz.volume);
  buffer->GetStatus(&status);
  buffer->GetCurrentPosition(&buzz.position, &writeCursor);
  buzz.playing = (status & DSBSTATUS_PLAYING) != 0;
  return buzz;
}

void PlaySession::StartPlaying() {
  StartGame();
  MoveCursorTo(kPlayButton);
  ClickLeft();
  Frames(1);
  Frames(1);  // the intro
  ClickLeft();
  Frames(11);
}

void PlaySession::ClickAway() {
  ClickLeft();
  Frames(1);
}

void PlaySession::ClickOk() {
  MoveCursorTo(kOkButton);
  ClickLeft();
  Frames(1);
}

void PlaySession::WinStageToIntro() {
  for (int i = 0; i < FlyCount; ++i) {
    FlyTable[i].alive = 0;
    if (BuzzOn[i]) SoundStop(FlyBuzz[i]);
  }
  Frames(1);  // the OK box
  ClickOk();  // the next intro
}

void PlaySession::PlayFromStage(int n) {
  Stage = n - 1;
  WinStageToIntro();
  ClickAway();
}

void PlaySession::PutFlyUnderSwatter(int i, int cx, int cy) {
  FlyTable[i].alive = 1;
  FlyTable[i].x = cx + kSquarelyHit.x;
  FlyTable[i].y = cy + kSquarelyHit.y;
}

void PlaySession::ParkFlies() {
  for (int i = 0; i < FlyCount; ++i) {
    FlyTable[i].x = 590;
    FlyTable[i].y = 430;
  }
}

void PlaySession::Swat() {
  ClickLeft();
  Frames(10);
}
