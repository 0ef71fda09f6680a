// The sprites' fast keyed copy against SDL's own keyed blit: the same words everywhere,
// the unused byte included, on pictures with noise in every byte and the key's colour
// under several unused bytes; and it leaves what it does not handle to SDL.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <random>

#include "platform/sdl/keyed_copy.h"

namespace {

SDL_Surface* Noise(int width, int height, std::mt19937& random, uint32_t key) {
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
  SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_NONE);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) +
                                            y * surface->pitch);
    for (int x = 0; x < width; ++x) {
      const uint32_t noise = static_cast<uint32_t>(random());
      // A third of the pixels are the key's colour, under any unused byte.
      row[x] = noise % 3 == 0 ? (key & 0xFFFFFFu) | (noise & 0xFF000000u) : noise;
    }
  }
  return surface;
}

// Empty when every word is the same, else where the first difference is and what it is.
std::string FirstDifference(const SDL_Surface* a, const SDL_Surface* b) {
  for (int y = 0; y < a->h; ++y) {
    const auto* rowA = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(a->pixels) +
                                                         y * a->pitch);
    const auto* rowB = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(b->pixels) +
                                                         y * b->pitch);
    for (int x = 0; x < a->w; ++x) {
      if (rowA[x] == rowB[x]) continue;
      char text[80];
      std::snprintf(text, sizeof text, "(%d, %d): %08X against %08X", x, y, rowA[x], rowB[x]);
      return text;
    }
  }
  return {};
}

TEST(KeyedCopy, WritesWhatSdlsKeyedBlitWritesWordForWord) {
  std::mt19937 random(7);
  const uint32_t key = 0xAB00FF00u;  // an unused byte in the key too
  SDL_Surface* sprite = Noise(45, 33, random, key);
  SDL_SetColorKey(sprite, SDL_TRUE, key);
  const SDL_Rect pieces[] = {{0, 0, 45, 33}, {3, 5, 17, 9}, {44, 32, 1, 1}, {1, 0, 31, 33}};
  const SDL_Point places[] = {{0, 0}, {60, 40}, {99 - 45, 79 - 33}, {13, 7}};
  for (const SDL_Rect& piece : pieces) {
    for (const SDL_Point& place : places) {
      if (place.x + piece.w > 100 || place.y + piece.h > 80) continue;
      SDL_Surface* ours = Noise(100, 80, random, key);
      SDL_Surface* theirs = SDL_DuplicateSurface(ours);
      ASSERT_TRUE(KeyedCopy32(sprite, piece, ours, place.x, place.y, key));
      SDL_Rect to{place.x, place.y, piece.w, piece.h};
      SDL_Rect from = piece;
      ASSERT_EQ(SDL_BlitSurface(sprite, &from, theirs, &to), 0);
      EXPECT_EQ(FirstDifference(ours, theirs), "") << "piece " << piece.x << "," << piece.y << " "
                                           << piece.w << "x" << piece.h << " at " << place.x
                                           << "," << place.y;
      SDL_FreeSurface(ours);
      SDL_FreeSurface(theirs);
    }
  }
  SDL_FreeSurface(sprite);
}

TEST(KeyedCopy, RefusesWhatItDoesNotHandleAndTouchesNothing) {
  std::mt19937 random(11);
  SDL_Surface* sprite = Noise(8, 8, random, 0);
  SDL_Surface* target = Noise(16, 16, random, 0);
  SDL_Surface* untouched = SDL_DuplicateSurface(target);
  SDL_Surface* threeBytes = SDL_CreateRGBSurfaceWithFormat(0, 16, 16, 24, SDL_PIXELFORMAT_BGR24);
  const SDL_Rect whole{0, 0, 8, 8};
  EXPECT_FALSE(KeyedCopy32(target, whole, target, 4, 4, 0));      // onto itself
  EXPECT_FALSE(KeyedCopy32(sprite, whole, threeBytes, 0, 0, 0));  // another format
  EXPECT_FALSE(KeyedCopy32(sprite, whole, target, 9, 0, 0));      // past the right edge
  EXPECT_FALSE(KeyedCopy32(sprite, whole, target, 0, -1, 0));     // above the top
  EXPECT_FALSE(KeyedCopy32(sprite, SDL_Rect{1, 1, 8, 8}, target, 0, 0, 0));  // outside the sprite
  EXPECT_EQ(FirstDifference(target, untouched), "");
  for (SDL_Surface* surface : {sprite, target, untouched, threeBytes}) SDL_FreeSurface(surface);
}

}  // namespace
