#include "game/state_line.h"

#include <cinttypes>
#include <cstdio>

#include "game/play_state.h"
#include "game/random.h"
#include "globals/current_screen.h"
#include "input/mouse_cursor.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/rules_clock.h"
#include "scores/highscore_table.h"

namespace {

std::vector<std::string>* collected = nullptr;

void Append(std::string& line, const char* format, auto... values) {
  char field[96];
  std::snprintf(field, sizeof field, format, values...);
  line += field;
}

void AppendPosition(std::string& line, const char* name, const FlyEntry& entry) {
  if (entry.alive) {
    Append(line, " %s=%d,%d", name, entry.x, entry.y);
  } else {
    Append(line, " %s=-", name);
  }
}

// The seconds the head-up display shows, by the rules clock's last reading: the same in a
// live game and in its replay.
void AppendSecondsLeft(std::string& line) {
  if (CurrentScreen != ScreenPlay) {
    line += " left=-";
    return;
  }
  const uint32_t elapsed = (RulesTickLast() - StageStartTick) / 1000u;
  Append(line, " left=%d", TimeLimit - static_cast<int32_t>(elapsed));
}

void AppendFlies(std::string& line) {
  line += " flies=";
  bool any = false;
  for (int i = 0; i < FlyCount && i < kFlyEntries; ++i) {
    const FlyEntry& fly = FlyTable[i];
    if (!fly.alive) continue;
    Append(line, "%s%d:%d,%d,%d", any ? ";" : "", i, fly.x, fly.y, fly.frame);
    any = true;
  }
  if (!any) line += "-";
}

void CollectOne() {
  if (collected != nullptr) collected->push_back(StateLine());
}

}  // namespace

std::string StateLine() {
  std::string line;
  line.reserve(256);
  const int32_t* counts = CurrentGameEntry.swatCounts;
  Append(line, "flip=%" PRIu64 " screen=%d stage=%d score=%d", PresentedFlipCount(),
         CurrentScreen, Stage, CurrentGameEntry.score);
  Append(line, " counts=%d,%d,%d,%d,%d,%d,%d,%d", counts[0], counts[1], counts[2], counts[3],
         counts[4], counts[5], counts[6], counts[7]);
  Append(line, " cream=%d", CreamStock);
  AppendPosition(line, "blob", FlyTable[kCreamBlob]);
  AppendPosition(line, "wasp", FlyTable[kWasp]);
  Append(line, " boss=%d,%d,%d effect=%d,%d hits=%d", BossEnergy, BossHitTimer, BossFrame,
         EffectKind, EffectTimer, SwatHits);
  Append(line, " cursor=%d,%d,%d,%d", Cursor.x, Cursor.y, Cursor.swatActive ? 1 : 0,
         Cursor.swatTimer);
  AppendSecondsLeft(line);
  Append(line, " tick=%u rand=%" PRIu64, RulesTickLast(), GameRandCalls());
  AppendFlies(line);
  return line;
}

void CollectStateLines(std::vector<std::string>* lines) {
  if (collected == nullptr) AddFlipObserver(CollectOne);
  collected = lines;
}
