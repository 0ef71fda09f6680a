// The folder the game saves in, kept in the browser's IndexedDB. Where the browser refuses
// storage (a private window, a full disk), or does not answer within a few seconds, the game
// plays on with a table that lasts until the page goes, and the page says once that scores
// will not be kept. Each save takes its turn at the folder (platform/web/folder_lock.cpp).
#pragma once

// Mounts the folder and fills it from IndexedDB, the game waiting until it is.
void OpenSaveFolder(const char* folder);
