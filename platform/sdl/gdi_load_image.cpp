// LoadImageA for bitmaps: a resource linked into the program, or a BMP file.
#include <SDL.h>

#include <string>
#include <vector>

#include "platform/files/bitmap_header.h"
#include "platform/files/bitmap_resources.h"
#include "platform/files/game_data_folder.h"
#include "platform/win32/gdi.h"
#include "platform/sdl/gdi_objects.h"
#include "platform/files/regular_file.h"

namespace {

// SDL sees only bytes whose header claims a picture they can hold.
SDL_Surface* DecodeBitmap(const unsigned char* bytes, size_t size) {
  if (size > kLargestBitmapFile || !BitmapHeaderFits(bytes, size)) return nullptr;
  return SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes, static_cast<int>(size)), 1);
}

SDL_Surface* ReadBitmap(HINSTANCE instance, const char* name, UINT flags) {
  if (flags & LR_LOADFROMFILE) {
    std::vector<unsigned char> bytes;
    const std::string path = GameDataPath(name);
    SDL_Surface* picture = ReadRegularFile(path.c_str(), kLargestBitmapFile, &bytes)
                               ? DecodeBitmap(bytes.data(), bytes.size())
                               : nullptr;
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
