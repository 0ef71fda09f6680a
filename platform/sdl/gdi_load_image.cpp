// LoadImageA for bitmaps: a resource linked into the program, or a BMP file.
#include <SDL.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/files/bitmap_header.h"
#include "platform/files/bitmap_resources.h"
#include "platform/files/game_data_folder.h"
#include "platform/win32/gdi.h"
#include "platform/sdl/gdi_objects.h"
#include "platform/sdl/kept_pictures.h"
#include "platform/sdl/waits.h"
#include "platform/files/regular_file.h"

namespace {

// SDL sees only bytes whose header claims a picture they can hold.
SDL_Surface* DecodeBitmap(const unsigned char* bytes, size_t size) {
  if (size > kLargestBitmapFile || !BitmapHeaderFits(bytes, size)) return nullptr;
  return SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes, static_cast<int>(size)), 1);
}

SDL_Surface* ReadBitmapFile(const std::string& path) {
  std::vector<unsigned char> bytes;
  return ReadRegularFile(path.c_str(), kLargestBitmapFile, &bytes) ? DecodeBitmap(bytes.data(), bytes.size())
                                                                     : nullptr;
}

// The pictures KeepGamePictures decoded, by path; each holds a reference of the table's own,
// given back at the process's end.
struct KeptPictureTable {
  std::map<std::string, SDL_Surface*> pictures;
  ~KeptPictureTable() {
    for (const auto& [path, picture] : pictures) SDL_FreeSurface(picture);
  }
};

std::map<std::string, SDL_Surface*>& KeptPictures() {
  static KeptPictureTable kept;
  return kept.pictures;
}

SDL_Surface* ReadBitmap(HINSTANCE instance, const char* name, UINT flags) {
  if (flags & LR_LOADFROMFILE) {
    const std::string path = GameDataPath(name);
    if (const auto kept = KeptPictures().find(path); kept != KeptPictures().end()) {
      ++kept->second->refcount;
      return kept->second;
    }
    RestWhileStarting();
    SDL_Surface* picture = ReadBitmapFile(path);
    if (!picture) NoteUnreadableGameFile(path);
    return picture;
  }
  if (!instance) return nullptr;
  const BitmapResource* resource = FindBitmapResource(name);
  if (!resource) return nullptr;
  return DecodeBitmap(resource->bytes, resource->size);
}

SDL_Surface* StretchedTo(SDL_Surface* picture, int width, int height) {
  SDL_Surface* source = SDL_ConvertSurfaceFormat(picture, SDL_PIXELFORMAT_RGB888, 0);
  SDL_Surface* stretched =
      source ? SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888)
             : nullptr;
  if (stretched) {
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    SDL_BlitScaled(source, nullptr, stretched, nullptr);
  }
  SDL_FreeSurface(source);
  SDL_FreeSurface(picture);
  return stretched;
}

}  // namespace

void KeepGamePictures(const std::string& folder) {
  std::error_code fault;
  for (const auto& entry : std::filesystem::directory_iterator(folder, fault)) {
    const std::string path = entry.path().string();
    if (SDL_Surface* picture = ReadBitmapFile(path)) KeptPictures()[path] = picture;
  }
}

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height,
                  UINT flags) {
  if (type != IMAGE_BITMAP || !name || width < 0 || height < 0) return nullptr;
  SDL_Surface* picture = ReadBitmap(instance, name, flags);
  if (!picture) return nullptr;
  if ((width && width != picture->w) || (height && height != picture->h)) {
    picture = StretchedTo(picture, width ? width : picture->w, height ? height : picture->h);
    if (!picture) return nullptr;
  }
  SDL_SetSurfaceBlendMode(picture, SDL_BLENDMODE_NONE);
  GdiObject* bitmap = new GdiObject;
  bitmap->kind = GdiKind::Bitmap;
  bitmap->pixels = picture;
  return bitmap;
}
