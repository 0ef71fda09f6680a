// A captured frame written as a PNG: for the replay tool's pictures and the tests' evidence.
// The game itself never writes one, and does not link the PNG library.
#pragma once

#include <string>

#include "platform/seams/headless.h"

bool WriteFramePng(const CapturedFrame& frame, const std::string& path);
