// Highscore.dat as bytes, for tests that write one or look at what the game wrote.
#pragma once

#include "tests/support/file_bytes.h"

// The table in memory as the file's bytes.
Bytes TableBytes();

// The table when there is no file: ten rows named "---" with every value 0.
Bytes DefaultFileBytes();
