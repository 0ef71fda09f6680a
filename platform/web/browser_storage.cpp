#include "platform/web/browser_storage.h"

#include <emscripten.h>

namespace {

// How long IndexedDB has to answer before it counts as refused: a browser that never answers
// (a broken profile, a storage stuck behind a prompt) must not hold the game at a black picture.
constexpr int kAnswerMilliseconds = 3000;

// Module.saveFolder: the folder's path, whether IndexedDB still keeps it, and its carrying
// each way (FS.syncfs given up after the bound; false where it failed or did not answer).
EM_ASYNC_JS(void, MountAndFill, (const char* folder, int answerMilliseconds), {
  const kept = {
    path: UTF8ToString(folder),
    alive: true,
    refuse: function() {
      if (kept.alive && Module.onStorageRefused) Module.onStorageRefused();
      kept.alive = false;
    },
    carry: function(fromIndexedDb) {
      if (!kept.alive) return Promise.resolve(false);
      return new Promise(function(resolve) {
        const timer = setTimeout(function() { resolve(false); }, answerMilliseconds);
        try {
          FS.syncfs(fromIndexedDb, function(error) {
            clearTimeout(timer);
            resolve(!error);
          });
        } catch (error) {
          clearTimeout(timer);
          resolve(false);
        }
      }).then(function(carried) {
        if (!carried) kept.refuse();
        // the page lists the kept games afresh from what the folder now holds
        if (carried && Module.onSaveFolderCarried) Module.onSaveFolderCarried();
        return carried;
      });
    },
  };
  Module.saveFolder = kept;
  FS.mkdirTree(kept.path);
  try {
    FS.mount(IDBFS, {}, kept.path);
  } catch (error) {
    kept.refuse();
    return;
  }
  await kept.carry(true);
});

}  // namespace

void OpenSaveFolder(const char* folder) { MountAndFill(folder, kAnswerMilliseconds); }
