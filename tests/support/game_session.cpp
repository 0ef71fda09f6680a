#include "tests/support/game_session.h"

#include "graphics/pixels.h"

void GameSession::StartGame(const std::set<std::string>& leftOut) {
  folder_ = EnterRunFolder(leftOut);
  driver_.Start();
  ASSERT_TRUE(driver_.RunFlips(1));
}

void GameSession::ToNext(YieldPoint point) {
  ASSERT_TRUE(driver_.RunUntil([&] { return driver_.LastYield() == point; }));
}

void GameSession::RunToTheEnd() {
  driver_.RunUntil([] { return false; });
  ASSERT_TRUE(driver_.Finished());
}

void GameSession::Tap(uint8_t dik) {
  Hold(dik);
  Let(dik);
}

void GameSession::ClickLeft() {
  PressLeft();
  ReleaseLeft();
}

bool GameSession::FrameShowsPicture(IDirectDrawSurface7* picture, int skipX, int skipY,
                                    int skipWidth, int skipHeight) {
  if (picture == nullptr || LockPixels(picture) == nullptr) return false;
  const PixelView view = LockedPixelView();
  const CapturedFrame& frame = HeadlessLastFrame();
  bool same = view.width == frame.width && view.height == frame.height;
  for (int y = 0; same && y < frame.height; ++y) {
    for (int x = 0; same && x < frame.width; ++x) {
      const bool skipped =
          x >= skipX && x < skipX + skipWidth && y >= skipY && y < skipY + skipHeight;
      same = skipped || frame.At(x, y) == (ReadPixel(view, x, y) & 0xFFFFFFu);
    }
  }
  UnlockPixels(picture);
  return same;
}
