#include "tests/support/hud_reader.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "tests/support/game_text.h"
#include "tests/support/screen_places.h"

namespace {

// A blob of pixels unlike the background: one fly is about 25 pixels across, and flies that
// touch make one blob, searched for each of them.
constexpr int kSmallestBlob = 30;
constexpr int kWidestBlob = 64;
constexpr int kFlySize = 32;
constexpr int kBlobMargin = 8;  // a fly picture's empty border, and a little more
constexpr double kFlyShown = 0.8;  // of a fly picture's own pixels; the rest may lie under another
constexpr int kSameColour = 40;    // per channel
constexpr int kFlySpacing = 8;     // closer sightings are one fly

// Room kept on every side for a fly's crawl between the picture and the swat.
constexpr int kCrawlRoom = 18;

// Exactly drawn, the right number differs from the screen in no pixel; a few are allowed.
constexpr int kReadSlack = 6;

struct Blob {
  int left;
  int top;
  int right;
  int bottom;
  int pixels;
};

// Pixels unlike the background below the display's strip, joined with their eight neighbours.
std::vector<Blob> BlobsOver(const Image& seen, const Image& background) {
  std::vector<uint8_t> unvisited(static_cast<size_t>(kGameWidth) * kGameHeight, 0);
  for (int y = kHudHeight; y < kGameHeight; ++y) {
    for (int x = 0; x < kGameWidth; ++x) {
      unvisited[static_cast<size_t>(y) * kGameWidth + x] =
          ColoursDiffer(seen.at(x, y), background.at(x, y), kSameColour);
    }
  }
  std::vector<Blob> blobs;
  std::vector<std::pair<int, int>> open;
  for (int y = kHudHeight; y < kGameHeight; ++y) {
    for (int x = 0; x < kGameWidth; ++x) {
      if (!unvisited[static_cast<size_t>(y) * kGameWidth + x]) continue;
      Blob blob{x, y, x, y, 0};
      unvisited[static_cast<size_t>(y) * kGameWidth + x] = 0;
      open.assign(1, {x, y});
      while (!open.empty()) {
        const auto [px, py] = open.back();
        open.pop_back();
        ++blob.pixels;
        blob.left = std::min(blob.left, px);
        blob.right = std::max(blob.right, px);
        blob.top = std::min(blob.top, py);
        blob.bottom = std::max(blob.bottom, py);
        for (int ny = py - 1; ny <= py + 1; ++ny) {
          for (int nx = px - 1; nx <= px + 1; ++nx) {
            if (nx < 0 || nx >= kGameWidth || ny < kHudHeight || ny >= kGameHeight) continue;
            uint8_t& next = unvisited[static_cast<size_t>(ny) * kGameWidth + nx];
            if (!next) continue;
            next = 0;
            open.push_back({nx, ny});
          }
        }
      }
      blobs.push_back(blob);
    }
  }
  return blobs;
}

struct Sighting {
  FlySighting fly;
  double shown;
};

// The corners, along one axis, of fly pictures that would make up a blob from `low` to `high`:
// one fly's picture reaches a little past its blob on either side, and of two flies that
// touch, one lies at each end.
std::pair<int, int> CornerRange(int low, int high, int limit) {
  const int fromLow = low - kBlobMargin;
  const int fromHigh = high - kFlySize + kBlobMargin;
  return {std::max(std::min(fromLow, fromHigh), 0), std::min(std::max(fromLow, fromHigh), limit)};
}

void SearchBlob(const Image& seen, const Blob& blob, const std::vector<Image>& flyPictures,
                std::vector<Sighting>* sightings) {
  const auto [fromX, toX] = CornerRange(blob.left, blob.right, kGameWidth - kFlySize);
  const auto [fromY, toY] = CornerRange(blob.top, blob.bottom, kGameHeight - kFlySize);
  for (int y = fromY; y <= toY; ++y) {
    for (int x = fromX; x <= toX; ++x) {
      double best = 0;
      for (const Image& picture : flyPictures) {
        best = std::max(best, SpriteShare(seen, picture, x, y, kSameColour));
      }
      if (best >= kFlyShown) sightings->push_back({{x, y}, best});
    }
  }
}

struct Box {
  int left;
  int top;
  int right;
  int bottom;
  bool Holds(int x, int y) const { return left <= x && x <= right && top <= y && y <= bottom; }
};

// The corners of a swat that meets the fly even if it crawls a little first.
Box SureHitBox(const FlySighting& fly) {
  return {fly.x - kHitLeft + kCrawlRoom, fly.y - kHitAbove + kCrawlRoom,
          fly.x + kHitRight - kCrawlRoom, fly.y + kHitBelow - kCrawlRoom};
}

Box Common(const Box& a, const Box& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

// The highest corner whose swat kills no fly above the display's strip: a dead fly stays on
// the background, and one there would hide the score for the rest of the stage.
constexpr int kHighestAim = kHudHeight + kHitBelow + 2;

SwatterCorner Reachable(int x, int y) {
  x = std::clamp(x, 0, kSwatterRightmost);
  y = std::clamp(y, kHighestAim, kSwatterLowest);
  return {x - x % 2, y - y % 2};
}

}  // namespace

std::vector<FlySighting> FindLiveFlies(const Image& seen, const Image& background,
                                       const std::vector<Image>& flyPictures) {
  std::vector<Sighting> sightings;
  for (const Blob& blob : BlobsOver(seen, background)) {
    const bool flySized = blob.pixels >= kSmallestBlob && blob.right - blob.left < kWidestBlob &&
                          blob.bottom - blob.top < kWidestBlob;
    if (flySized) SearchBlob(seen, blob, flyPictures, &sightings);
  }
  // The best sighting of each fly: a fly's picture matches well also a pixel or two aside.
  std::sort(sightings.begin(), sightings.end(),
            [](const Sighting& a, const Sighting& b) { return a.shown > b.shown; });
  std::vector<FlySighting> flies;
  for (const Sighting& sighting : sightings) {
    const bool known = std::any_of(flies.begin(), flies.end(), [&](const FlySighting& fly) {
      return std::abs(fly.x - sighting.fly.x) < kFlySpacing &&
             std::abs(fly.y - sighting.fly.y) < kFlySpacing;
    });
    if (!known) flies.push_back(sighting.fly);
  }
  return flies;
}

std::optional<SwatterCorner> AimAt(const std::vector<FlySighting>& flies) {
  // Tried: the middle of each fly's box, and of what the boxes of two flies have in common.
  std::vector<Box> tries;
  for (const FlySighting& fly : flies) tries.push_back(SureHitBox(fly));
  for (size_t i = 0; i < flies.size(); ++i) {
    for (size_t j = i + 1; j < flies.size(); ++j) {
      const Box common = Common(SureHitBox(flies[i]), SureHitBox(flies[j]));
      if (common.left <= common.right && common.top <= common.bottom) tries.push_back(common);
    }
  }
  std::optional<SwatterCorner> best;
  int bestCount = 0;
  for (const Box& tried : tries) {
    const SwatterCorner aim =
        Reachable((tried.left + tried.right) / 2, (tried.top + tried.bottom) / 2);
    // Then the middle of what the boxes of the flies met there have in common.
    Box common{-kGameWidth, -kGameHeight, 2 * kGameWidth, 2 * kGameHeight};
    int count = 0;
    for (const FlySighting& fly : flies) {
      const Box box = SureHitBox(fly);
      if (!box.Holds(aim.x, aim.y)) continue;
      ++count;
      common = Common(common, box);
    }
    if (count > bestCount) {
      best = Reachable((common.left + common.right) / 2, (common.top + common.bottom) / 2);
      bestCount = count;
    }
  }
  return best;
}

int SwatScore(int targets) {
  constexpr int kScores[8] = {-100, 100, 500, 2000, 5000, 9000, 14000, 20000};
  return kScores[std::clamp(targets, 0, 7)];
}

HudReader::HudReader(const Image& background) : strip_(kGameWidth, kHudHeight) {
  for (int y = 0; y < kHudHeight; ++y) {
    for (int x = 0; x < kGameWidth; ++x) strip_.at(x, y) = background.at(x, y);
  }
}

namespace {

// Where each number stands and what lies around it: the score right-aligned by its length
// ending near x = 310, the cream stock after the cream icon and its "x", the seconds at the
// right edge.
GameRect HudPlace(HudNumber number) {
  switch (number) {
    case HudNumber::Score: return {200, 0, 180, kHudHeight};
    case HudNumber::CreamStock: return {62, 0, 70, kHudHeight};
    case HudNumber::SecondsLeft: return {595, 0, kGameWidth - 595, kHudHeight};
  }
  return {};
}

GameText HudText(HudNumber number, int value) {
  const std::string text = std::to_string(value);
  switch (number) {
    case HudNumber::Score:
      return {text, 310 - 10 * static_cast<int>(text.size()), 3, kYellowText};
    case HudNumber::CreamStock: return {text, 65, 3, kRedText};
    case HudNumber::SecondsLeft: return {text, 600, 3, kRedText};
  }
  return {};
}

}  // namespace

const Image& HudReader::Drawn(HudNumber number, int value) {
  const auto key = std::make_pair(number, value);
  auto found = drawn_.find(key);
  if (found == drawn_.end()) {
    found = drawn_.emplace(key, WithGameTexts(strip_, {HudText(number, value)})).first;
  }
  return found->second;
}

std::optional<int> HudReader::Read(const Image& seen, HudNumber number,
                                   const std::vector<int>& candidates) {
  std::optional<int> best;
  int fewest = kReadSlack + 1;
  for (int value : candidates) {
    const int differing = DifferingPixels(seen, Drawn(number, value), HudPlace(number));
    if (differing < fewest) {
      best = value;
      fewest = differing;
    }
  }
  return best;
}
