// GDI with no SDL: bitmaps read with the game's own BMP reader, device contexts on surfaces,
// pixel access, and fonts and text that draw nothing.
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "platform/files/bitmap_header.h"
#include "platform/files/bitmap_resources.h"
#include "platform/files/game_data_folder.h"
#include "platform/files/regular_file.h"
#include "platform/null/null_objects.h"
#include "platform/sdl/kept_pictures.h"

namespace {

using Picture = std::shared_ptr<const BitmapPicture>;

// The pictures whose pixels the rules look at: the swatter's, where the blood of a swat lands
// (a spot on black is not painted, and each painted spot draws a random number). Every other
// picture is read for its size alone.
bool RulesReadPixels(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  return name == "Klatsche1.bmp" || name == "Klatsche2.bmp";
}

Picture ReadPicture(const std::string& path) {
  auto picture = std::make_shared<BitmapPicture>();
  if (!RulesReadPixels(path)) return ReadBitmapSize(path, picture.get()) ? picture : nullptr;
  std::vector<unsigned char> bytes;
  if (!ReadRegularFile(path.c_str(), kLargestBitmapFile, &bytes) ||
      !DecodeBitmapWords(bytes.data(), bytes.size(), picture.get())) {
    return nullptr;
  }
  return picture;
}

// Read once, by KeepGamePictures for every check that follows or at the first load: each stage
// loads its background again.
std::map<std::string, Picture>& KeptPictures() {
  static std::map<std::string, Picture> kept;
  return kept;
}

Picture PictureOf(HINSTANCE instance, const char* name, UINT flags) {
  if (flags & LR_LOADFROMFILE) {
    const std::string path = GameDataPath(name);
    if (const auto kept = KeptPictures().find(path); kept != KeptPictures().end()) {
      return kept->second;
    }
    Picture picture = ReadPicture(path);
    if (picture) {
      KeptPictures()[path] = picture;
    } else {
      NoteUnreadableGameFile(path);
    }
    return picture;
  }
  const BitmapResource* resource = instance ? FindBitmapResource(name) : nullptr;
  auto picture = std::make_shared<BitmapPicture>();
  if (!resource || !DecodeBitmapWords(resource->bytes, resource->size, picture.get())) {
    return nullptr;
  }
  return picture;
}

void Unselect(GdiObject*& slot) {
  if (slot) --slot->selections;
  slot = nullptr;
}

// The pixel's word in the surface, or none.
uint32_t* PixelAt(NullSurface* surface, int x, int y) {
  if (!surface || x < 0 || y < 0 || x >= surface->width || y >= surface->height) return nullptr;
  uint32_t* pixels = surface->Pixels();
  return pixels ? pixels + static_cast<size_t>(y) * surface->width + x : nullptr;
}

}  // namespace

void KeepGamePictures(const std::string& folder) {
  std::error_code fault;
  for (const auto& entry : std::filesystem::directory_iterator(folder, fault)) {
    const std::string path = entry.path().string();
    if (Picture picture = ReadPicture(path)) KeptPictures()[path] = std::move(picture);
  }
}

// A stretched picture is never asked for by the game; only its size could be given.
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags) {
  if (type != IMAGE_BITMAP || !name || width < 0 || height < 0) return nullptr;
  Picture picture = PictureOf(instance, name, flags);
  if (!picture) return nullptr;
  if ((width && width != picture->width) || (height && height != picture->height)) return nullptr;
  auto* bitmap = new GdiObject;
  bitmap->picture = std::move(picture);
  return bitmap;
}

int GetObjectA(HGDIOBJ object, int size, void* out) {
  if (!object || object->kind != GdiKind::Bitmap || !out || size < static_cast<int>(sizeof(BITMAP))) {
    return 0;
  }
  BITMAP bitmap;
  bitmap.bmWidth = object->picture->width;
  bitmap.bmHeight = object->picture->height;
  bitmap.bmWidthBytes = object->picture->width * 4;
  bitmap.bmPlanes = 1;
  bitmap.bmBitsPixel = 32;
  std::memcpy(out, &bitmap, sizeof bitmap);
  return static_cast<int>(sizeof bitmap);
}

BOOL DeleteObject(HGDIOBJ object) {
  if (!object || object->selections > 0) return FALSE;
  delete object;
  return TRUE;
}

HDC CreateSurfaceDC(NullSurface* surface) {
  HDC dc = new DeviceContext;
  dc->surface = surface;
  return dc;
}

void DeleteSurfaceDC(HDC dc) {
  if (!dc) return;
  Unselect(dc->font);
  delete dc;
}

HDC CreateCompatibleDC(HDC) { return new DeviceContext; }

BOOL DeleteDC(HDC dc) {
  if (!dc || dc->surface) return FALSE;
  Unselect(dc->bitmap);
  Unselect(dc->font);
  delete dc;
  return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  if (!dc || !object) return nullptr;
  // Only a memory context takes a bitmap; a surface's context draws on the surface.
  if (object->kind == GdiKind::Bitmap && dc->surface) return nullptr;
  GdiObject*& slot = object->kind == GdiKind::Bitmap ? dc->bitmap : dc->font;
  GdiObject* previous = slot;
  Unselect(slot);
  slot = object;
  ++object->selections;
  return previous;
}

// A picture the rules read is copied into the surface's own pixels; any other only gives the
// surface its size, which it already has.
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rasterOperation) {
  if (!dest || !source || !dest->surface || !source->bitmap || rasterOperation != SRCCOPY) {
    return FALSE;
  }
  if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return FALSE;
  const BitmapPicture& picture = *source->bitmap->picture;
  if (picture.words.empty()) return TRUE;
  NullSurface& surface = *dest->surface;
  if (x != 0 || y != 0 || sourceX != 0 || sourceY != 0 || width != picture.width ||
      height != picture.height || sourceWidth != width || sourceHeight != height ||
      width != surface.width || height != surface.height) {
    return FALSE;
  }
  surface.own = picture.words;
  return TRUE;
}

// The display's words are 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
COLORREF GetPixel(HDC dc, int x, int y) {
  const uint32_t* pixel = dc ? PixelAt(dc->surface, x, y) : nullptr;
  if (!pixel) return CLR_INVALID;
  const uint32_t raw = *pixel;
  return RGB(static_cast<BYTE>(raw >> 16), static_cast<BYTE>(raw >> 8), static_cast<BYTE>(raw));
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  uint32_t* pixel = dc ? PixelAt(dc->surface, x, y) : nullptr;
  if (!pixel) return CLR_INVALID;
  *pixel = (color & 0xFFu) << 16 | (color & 0xFF00u) | (color >> 16 & 0xFFu);
  return color & 0x00FFFFFFu;
}

HFONT CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                  DWORD, LPCSTR) {
  auto* font = new GdiObject;
  font->kind = GdiKind::Font;
  return font;
}

int SetBkMode(HDC dc, int) { return dc ? OPAQUE : 0; }
COLORREF SetTextColor(HDC dc, COLORREF) { return dc ? 0 : CLR_INVALID; }

BOOL TextOutA(HDC dc, int, int, LPCSTR text, int length) {
  return dc && dc->surface && dc->font && text && length >= 0 ? TRUE : FALSE;
}

BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT*, LPCSTR text, UINT length,
                 const int* dx) {
  if (dx != nullptr || (options & ~ETO_CLIPPED) != 0 || length > INT32_MAX) return FALSE;
  return TextOutA(dc, x, y, text, static_cast<int>(length));
}
