// Taking turns at a file with other processes: a lock on the folder the file lies in, held
// while the file is read, merged and replaced. Locking the folder, not the file, holds across
// the rename that replaces the file and leaves nothing beside it.
#pragma once

#include <string>

// Waits until this process holds the folder's lock: at most 3 seconds, or 0.3 once the session
// asks the game to end. The lock's descriptor, or -1 with errno set when the folder cannot be
// opened or locked (a file system without locks) or another process kept the lock all that
// time (EWOULDBLOCK).
int LockFolder(const std::string& folder);
void UnlockFolder(int lock);
