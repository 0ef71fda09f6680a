#include "shell/startup.h"

#include "graphics/display.h"
#include "graphics/drawing.h"
#include "input/input_devices.h"
#include "platform/win32/win.h"
#include "scores/highscore_file.h"
#include "scores/highscore_save.h"
#include "shell/win_main.h"
#include "sound/sound_slots.h"

namespace {

// The sprites, by image number from 1 up.
const char* const SpriteFiles[33] = {
    "gfx\\Fly1.bmp",  "gfx\\Fly2.bmp",  "gfx\\Fly3.bmp",  "gfx\\FlyDead.bmp", "gfx\\Sahne.bmp",
    "gfx\\Miss.bmp",  "gfx\\Hit.bmp",   "gfx\\Hit2.bmp",  "gfx\\Hit3.bmp",    "gfx\\Hit4.bmp",
    "gfx\\Hit5.bmp",  "gfx\\Hit6.bmp",  "gfx\\Hit7.bmp",  "gfx\\Hit8.bmp",    "gfx\\BOK.bmp",
    "gfx\\Stage.bmp", "gfx\\1.bmp",     "gfx\\2.bmp",     "gfx\\3.bmp",       "gfx\\4.bmp",
    "gfx\\5.bmp",     "gfx\\6.bmp",     "gfx\\7.bmp",     "gfx\\8.bmp",       "gfx\\9.bmp",
    "gfx\\10.bmp",    "gfx\\Wesp.bmp",  "gfx\\Wesp2.bmp", "gfx\\Boss1.bmp",   "gfx\\Boss2.bmp",
    "gfx\\Boss3.bmp", "gfx\\Boss4.bmp", "gfx\\Win.bmp"};

void LoadSounds() {
  HitSound = SoundLoadWav("snd\\Hit.WAV", DSBCAPS_CTRLPAN);
  HitSound2 = SoundDuplicate(HitSound);
  FlySound = SoundLoadWav("snd\\Fly.WAV", DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME);
  WaspBuzz = SoundDuplicate(FlySound);
  for (int32_t& buzz : FlyBuzz) buzz = SoundDuplicate(FlySound);
  AuSound = SoundLoadWav("snd\\au.WAV", 0);
  GoSound = SoundLoadWav("snd\\go.WAV", 0);
}

}  // namespace

int StartUp() {
  Display.desktopWidth = GetSystemMetrics(SM_CXSCREEN);
  Display.desktopHeight = GetSystemMetrics(SM_CYSCREEN);
  if (!SoundInit()) return ReportError("Unable to Init DirectSound");
  if (const char* failure = OpenDisplay()) return ReportError(failure);
  if (OpenInput() != 0) return ReportError("DirectInput Error");
  CreateGameFont();
  for (int number = 1; number <= 33; ++number) LoadImageSlot(number, SpriteFiles[number - 1]);
  LoadSounds();
  LoadHighscores();
  return 1;
}

int ShutDown() {
  CloseDisplay();
  ReleaseCursorImage(0);
  ReleaseCursorImage(1);
  ReleaseCursorImage(2);
  CloseInput();
  SaveHighscores();
  return 1;
}
