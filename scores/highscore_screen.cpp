#include "scores/highscore_screen.h"

#include <algorithm>
#include <cstdio>

#include "globals/current_screen.h"
#include "globals/image_numbers.h"
#include "game/play_state.h"
#include "graphics/display.h"
#include "graphics/drawing.h"
#include "input/keyboard.h"
#include "platform/seams/game_named.h"
#include "scores/highscore_save.h"
#include "scores/highscore_table.h"

int32_t RowSpacing = 0;
bool NameEntryActive = false;
int32_t EditRow = 0;
int32_t TypedCount = 0;
bool MarkerBlink = false;

namespace {

constexpr int kNameColumn = 130;
constexpr int kCountColumns[8] = {210, 270, 330, 380, 427, 474, 521, 562};

void EnterHighscores() {
  LoadBackground("gfx\\Highscore.bmp");
  RowSpacing = 0;
  ScreenFirstFrame = false;
  NameEntryActive = false;
  if (HighscoreQualifies()) {
    NameEntryActive = true;
    EditRow = HighscoreInsert();
    TypedCount = 0;
  }
}

// Red 255, green falling by 19 a row: yellow at the top, orange at the bottom.
COLORREF RowColour(int row) { return 0xFF | static_cast<COLORREF>(255 - 19 * row) << 8; }

void DrawRow(int row) {
  const HighscoreEntry& entry = HighscoreTable[row];
  const int y = 40 + row * RowSpacing;
  const COLORREF colour = RowColour(row);
  std::snprintf(TextBuffer, sizeof TextBuffer, "%d", entry.score);
  // A damaged file's -2147483648 is wider than the column; it stops short of the name.
  DrawShadowTextInColumn(TextBuffer, 3, y, kNameColumn, colour, Display.backBuffer);
  // At most three characters, also where a damaged file left no zero byte after them.
  char name[4] = {};
  for (int i = 0; i < 3 && entry.name[i] != '\0'; ++i) name[i] = entry.name[i];
  const bool marked = NameEntryActive && row == EditRow && MarkerBlink;
  std::snprintf(TextBuffer, sizeof TextBuffer, marked ? "%s <<" : "%s", name);
  DrawShadowText(TextBuffer, kNameColumn, y, colour, Display.backBuffer);
  for (int k = 0; k < 8; ++k) {
    std::snprintf(TextBuffer, sizeof TextBuffer, "%d", entry.swatCounts[k]);
    DrawShadowText(TextBuffer, kCountColumns[k], y, colour, Display.backBuffer);
  }
}

// Said below the table for as long as the last save failed; standard error has the reason.
void DrawSaveFailure() {
  if (!HighscoreSaveFailed) return;
  DrawShadowText("The table could not be saved !", 3, 430, 0xFF, Display.backBuffer);
}

// The row just named, as the seam hands it on: its observers read no record of the game's.
NamedGame NamedGameOf(const HighscoreEntry& entry) {
  NamedGame game;
  for (int i = 0; i < 3 && entry.name[i] != '\0'; ++i) game.name += entry.name[i];
  game.score = entry.score;
  std::copy(std::begin(entry.swatCounts), std::end(entry.swatCounts), game.swats.begin());
  game.stage = Stage;
  return game;
}

// Each key gives one character: the next waits until every key is up.
void TypeName() {
  if (!NameEntryActive || !ReadTypedKey()) return;
  HighscoreTable[EditRow].name[TypedCount] = TypedChar;
  TypedCount += 1;
  if (TypedCount > 2) {
    NameEntryActive = false;
    CurrentGameEntry.score = 0;
    NotifyGameNamed(NamedGameOf(HighscoreTable[EditRow]));
    SaveNewHighscores();
  }
  WaitForKeysReleased();
}

}  // namespace

void RunHighscoreFrame() {
  if (ScreenFirstFrame) EnterHighscores();
  DrawFullScreen(ImageSlots[kBackgroundImage]);
  const bool leaving = KeyHeld(DIK_ESCAPE);
  if (leaving) {
    WaitForKeysReleased();
    CurrentScreen = ScreenTitle;
    ScreenFirstFrame = true;
    CurrentGameEntry.score = 0;
  }
  MarkerBlink = !MarkerBlink;
  if (RowSpacing < 36) RowSpacing += 3;
  for (int row = 0; row < kHighscoreRows; ++row) DrawRow(row);
  DrawSaveFailure();
  TypeName();
  // A new row is kept when the visit ends, not only at shutdown; after the frame's typing,
  // which may still give the name a character.
  if (leaving) SaveNewHighscores();
  FlipPage();
}
