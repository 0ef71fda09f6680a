// The part of GDI the game calls: device contexts on surfaces and in memory, bitmaps loaded
// from the program's resources or from files, pixel access, and one kind of font with TextOutA.
#pragma once

#include "platform/win32/win.h"

using COLORREF = DWORD;
using HANDLE = void*;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

constexpr COLORREF RGB(BYTE red, BYTE green, BYTE blue) {
  return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) |
         (static_cast<COLORREF>(blue) << 16);
}

struct DeviceContext;
struct GdiObject;
using HDC = DeviceContext*;
using HGDIOBJ = GdiObject*;
using HBITMAP = GdiObject*;
using HFONT = GdiObject*;

// Bitmaps.
struct BITMAP {
  LONG bmType = 0;
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;
  WORD bmPlanes = 0;
  WORD bmBitsPixel = 0;
  void* bmBits = nullptr;
};

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT LR_LOADFROMFILE = 0x0010;
constexpr UINT LR_CREATEDIBSECTION = 0x2000;

// A bitmap resource of the program, or with LR_LOADFROMFILE a file ("gfx\Fly1.bmp" is read as
// gfx/Fly1.bmp). A width or height other than 0 stretches the picture to that size.
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags);
int GetObjectA(HGDIOBJ object, int size, void* out);
BOOL DeleteObject(HGDIOBJ object);

// Device contexts.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);

constexpr DWORD SRCCOPY = 0x00CC0020u;
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rasterOperation);
COLORREF GetPixel(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);

// Fonts and text.
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr DWORD ANSI_CHARSET = 0;
constexpr DWORD OUT_DEFAULT_PRECIS = 0;
constexpr DWORD CLIP_DEFAULT_PRECIS = 0;
constexpr DWORD DEFAULT_QUALITY = 0;
constexpr DWORD VARIABLE_PITCH = 2;
constexpr DWORD FF_DONTCARE = 0;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// A positive height is the cell height in pixels, a negative one the character height.
// The face is looked up with fontconfig; where it is missing, Comic Neue, else the system sans.
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                  DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                  LPCSTR faceName);
int SetBkMode(HDC dc, int mode);
COLORREF SetTextColor(HDC dc, COLORREF color);
// Draws the text with the top-left corner of its cell at (x, y), anti-aliased.
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
// The same, with ETO_CLIPPED: nothing is drawn outside the rectangle (right and bottom
// excluded). Other options and character spacing are not supported (dx must be null).
constexpr UINT ETO_CLIPPED = 0x0004;
struct RECT;
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length,
                 const int* dx);
