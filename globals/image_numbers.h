// What each image number holds: start-up loads the sprites into these numbers, the screens
// load their own backgrounds into number 0, and number 34 is never filled.
#pragma once

constexpr int kBackgroundImage = 0;
constexpr int kFlyImage = 1;  // three phases of the flight: 1, 2 and 3
constexpr int kDeadFlyImage = 4;
constexpr int kCreamImage = 5;
constexpr int kMissImage = 6;
constexpr int kOneHitImage = 7;  // one to seven or more targets: 7 to 13
constexpr int kWaspHitImage = 14;
constexpr int kOkBoxImage = 15;
constexpr int kStageBannerImage = 16;  // the stage numbers follow it: stage n is 16 + n
constexpr int kWaspImage = 27;
constexpr int kDeadWaspImage = 28;
constexpr int kBossImage = 29;  // three phases of the boss: 29, 30 and 31
constexpr int kHurtBossImage = 32;
constexpr int kWinImage = 33;
