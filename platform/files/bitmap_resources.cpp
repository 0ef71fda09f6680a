#include "platform/files/bitmap_resources.h"

#include <strings.h>

#include <vector>

namespace {

// The shipped build links no pictures: they are read from gfx/.
std::vector<BitmapResource>& ResourceTable() {
  static std::vector<BitmapResource> table;
  return table;
}

}  // namespace

const BitmapResource* FindBitmapResource(const char* name) {
  if (!name) return nullptr;
  for (const BitmapResource& resource : ResourceTable()) {
    if (strcasecmp(resource.name.c_str(), name) == 0) return &resource;
  }
  return nullptr;
}

void AddBitmapResource(const char* name, const unsigned char* bytes, size_t size) {
  ResourceTable().push_back({name, bytes, size});
}
