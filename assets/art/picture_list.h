#pragma once
// The list of picture files the game reads, with their sizes and how each is drawn.
#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

enum class PictureKind { Sprite, FullScreen };

struct PictureRecipe {
  std::string file;  // name inside gfx/
  int width;
  int height;
  PictureKind kind;
  std::function<void(cairo_t*)> draw;
};

const std::vector<PictureRecipe>& AllPictures();
