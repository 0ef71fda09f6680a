// What a surface does alike on every back-end: its attached back buffer, its colour keys (kept
// as they are given), its unlock and its references.
#include "platform/seams/headless.h"
#include "platform/win32/ddraw.h"

HRESULT IDirectDrawSurface7::GetAttachedSurface(DDSCAPS2* wanted, IDirectDrawSurface7** attached) {
  if (!wanted || !attached) return DDERR_INVALIDPARAMS;
  *attached = nullptr;
  if (HeadlessStepFails("GetAttachedSurface")) return DDERR_GENERIC;
  if (!backBuffer || !(wanted->dwCaps & DDSCAPS_BACKBUFFER)) return DDERR_NOTFOUND;
  backBuffer->AddRef();
  *attached = backBuffer;
  return DD_OK;
}

HRESULT IDirectDrawSurface7::SetColorKey(DWORD flags, DDCOLORKEY* key) {
  if (!(flags & (DDCKEY_SRCBLT | DDCKEY_DESTBLT))) return DDERR_INVALIDPARAMS;
  const bool set = key != nullptr;
  const DDCOLORKEY value = set ? *key : DDCOLORKEY{};
  if (flags & DDCKEY_SRCBLT) {
    hasSourceKey = set;
    sourceKey = value;
  }
  if (flags & DDCKEY_DESTBLT) {
    hasDestKey = set;
    destKey = value;
  }
  return DD_OK;
}

HRESULT IDirectDrawSurface7::Unlock(RECT*) {
  if (!locked) return DDERR_NOTLOCKED;
  locked = false;
  return DD_OK;
}

// Pixels live in memory and are never lost.
HRESULT IDirectDrawSurface7::Restore() { return DD_OK; }

ULONG IDirectDrawSurface7::AddRef() { return ++references; }
