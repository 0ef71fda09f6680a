// Taking turns at a file with other processes: a lock on the folder the file lies in, held
// while the file is read, merged and replaced. Locking the folder, not the file, holds across
// the rename that replaces the file and leaves nothing beside it.
#pragma once

#include <string>

// Blocks until this process holds the folder's lock. The lock's descriptor, or -1 with errno
// set when the folder cannot be opened or locked (a file system without locks).
int LockFolder(const std::string& folder);
void UnlockFolder(int lock);
