#include "platform/web/browser_storage.h"

#include <emscripten.h>

namespace {

EM_JS(void, TellPageStorageRefused, (), {
  if (Module.onStorageRefused) Module.onStorageRefused();
});

EM_JS(void, TellPageSaveFolderOpened, (), {
  if (Module.onSaveFolderCarried) Module.onSaveFolderCarried();
});

EM_ASYNC_JS(int, MountAndFill, (const char* folder), {
  const path = UTF8ToString(folder);
  FS.mkdirTree(path);
  FS.mount(IDBFS, {}, path);
  return await new Promise(function(resolve) {
    try {
      FS.syncfs(true, function(error) { resolve(error ? 0 : 1); });
    } catch (error) {
      resolve(0);
    }
  });
});

EM_JS(void, CarryToIndexedDb, (), {
  try {
    FS.syncfs(false, function(error) {
      if (error && Module.onStorageRefused) Module.onStorageRefused();
      if (!error && Module.onSaveFolderCarried) Module.onSaveFolderCarried();
    });
  } catch (error) {
    if (Module.onStorageRefused) Module.onStorageRefused();
  }
});

}  // namespace

void OpenSaveFolder(const char* folder) {
  if (MountAndFill(folder)) {
    TellPageSaveFolderOpened();
  } else {
    TellPageStorageRefused();
  }
}

void FlushSaveFolder(const char*) { CarryToIndexedDb(); }
