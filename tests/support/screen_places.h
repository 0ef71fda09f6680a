// Where the player points, as the tests click and swat: the title's buttons, the OK box's
// button and the swat's hit box. The game tests the cursor's corner against rectangles whose
// four edges count; a test clicks at a point well inside.
#pragma once

struct ScreenPlace {
  int x;
  int y;
};

// The title's buttons, by a point inside each.
constexpr ScreenPlace kPlayButton{528, 350};        // (462, 336)-(594, 367)
constexpr ScreenPlace kHighscoresButton{512, 394};  // (430, 382)-(595, 405)
constexpr ScreenPlace kCreditsButton{516, 434};     // (458, 424)-(576, 446)
constexpr ScreenPlace kExitButton{56, 438};         // (25, 425)-(86, 450)
// The OK box's button, and where its picture's corner is drawn.
constexpr ScreenPlace kOkButton{280, 330};  // (220, 292)-(339, 379)
constexpr ScreenPlace kOkPicture{270, 350};

// The swat's hit box: a swat meets a target when the swatter's corner lies at most this far
// left, right, above and below the target's corner, bounds included.
constexpr int kHitLeft = 44;
constexpr int kHitRight = 10;
constexpr int kHitAbove = 57;
constexpr int kHitBelow = 13;
// Where a target's corner lies from the swatter's when the swat meets it squarely: the middle
// of the hit box, (17, 22).
constexpr ScreenPlace kSquarelyHit{(kHitLeft - kHitRight) / 2, (kHitAbove - kHitBelow) / 2};
