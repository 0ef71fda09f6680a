// The folder the game saves in, kept in the browser's IndexedDB. Where the browser refuses
// storage (a private window, a full disk) the game plays on with a table that lasts until
// the page goes, and the page says once that scores will not be kept.
#pragma once

// Mounts the folder and fills it from IndexedDB, the game waiting until it is.
void OpenSaveFolder(const char* folder);
// Carries the folder's files to IndexedDB, without waiting.
void FlushSaveFolder(const char* savedPath);
