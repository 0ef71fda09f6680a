// The bitmap resources linked into the program: a table the build can fill with pictures
// (BMP files as bytes) under their resource names, looked up before any file is read.
#pragma once

#include <cstddef>
#include <string>

struct BitmapResource {
  std::string name;
  const unsigned char* bytes;
  size_t size;
};

// The resource of that name (names compare without regard to case, as Windows does), or none.
const BitmapResource* FindBitmapResource(const char* name);
// Adds a resource at run time (tests do; a build that embeds pictures fills the table instead).
void AddBitmapResource(const char* name, const unsigned char* bytes, size_t size);
