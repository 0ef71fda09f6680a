// Opening the files the game reads only when they are regular files: a FIFO or a device under
// a picture's, a sound's or the table's name would block the reader, and a folder has no bytes.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

// A read-only descriptor of `path` (symbolic links followed), or -1 with errno set: EISDIR for
// a folder, EINVAL for anything else that is not a regular file.
int OpenRegularFile(const char* path);
// The same as a stdio stream for reading, or nullptr.
std::FILE* OpenRegularFileStream(const char* path);
// The whole file, when it is regular and holds no more than maxBytes.
bool ReadRegularFile(const char* path, size_t maxBytes, std::vector<unsigned char>* bytes);
