// Told of every file the atomic save has put in place, so that a host that keeps files
// elsewhere (a browser's IndexedDB) can carry the new bytes there at once. None by default.
#pragma once

using SaveObserver = void (*)(const char* path);

void SetSaveObserver(SaveObserver observer);
void NotifyFileSaved(const char* path);
