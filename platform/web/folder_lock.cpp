// Taking turns at the save folder with the page's other tabs. In a browser the folder lives in
// IndexedDB and each tab works on the copy it loaded at its start, so a tab's save must not
// merge into that copy: under a lock that every tab of the page shares (the Web Locks API) the
// folder is first filled afresh from IndexedDB, the save reads, merges and writes the table
// there, and the unlock carries the folder back to IndexedDB before it lets go. Any other
// folder (the replay tool's, under Node.js, or one the browser refused to keep) has no other
// tab to wait for, as emscripten's flock never waited.
#include "platform/files/folder_lock.h"

#include <emscripten.h>

namespace {

// How long a tab waits for another's turn, as long as a desktop game waits for another's lock,
// before it saves without its own, rather than hold the game for a tab the browser froze.
constexpr int kTurnWaitMilliseconds = 3000;
constexpr int kNoTurnNeeded = 0;
constexpr int kKeptFolderTurn = 1;

// Whether the folder is the one kept in IndexedDB, and IndexedDB still keeps it. Asked first,
// so that nothing waits where nothing can (the replay tool is built without Asyncify).
EM_JS(int, KeptInIndexedDb, (const char* folder), {
  const kept = Module.saveFolder;
  if (!kept || !kept.alive) return 0;
  try {
    return FS.lookupPath(UTF8ToString(folder), {follow: true}).node.mount.mountpoint === kept.path;
  } catch (error) {
    return 0;
  }
});

EM_ASYNC_JS(void, TakeTurn, (int waitMilliseconds), {
  const kept = Module.saveFolder;
  if (typeof navigator !== 'undefined' && navigator.locks) {
    const giveUp = new AbortController();
    const timer = setTimeout(function() { giveUp.abort(); }, waitMilliseconds);
    await new Promise(function(granted) {
      navigator.locks.request('zimbrel save folder', {signal: giveUp.signal}, function() {
        clearTimeout(timer);
        granted();
        return new Promise(function(letGo) { kept.letGo = letGo; });
      }).catch(granted);
    });
  }
  await kept.carry(true);
});

EM_ASYNC_JS(void, EndTurn, (), {
  const kept = Module.saveFolder;
  await kept.carry(false);
  if (kept.letGo) kept.letGo();
  kept.letGo = null;
});

}  // namespace

int LockFolder(const std::string& folder) {
  if (!KeptInIndexedDb(folder.c_str())) return kNoTurnNeeded;
  TakeTurn(kTurnWaitMilliseconds);
  return kKeptFolderTurn;
}

void UnlockFolder(int lock) {
  if (lock == kKeptFolderTurn) EndTurn();
}
