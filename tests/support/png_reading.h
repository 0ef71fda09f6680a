// A PNG file read into a plain picture: for screenshots that another program wrote.
#pragma once

#include <optional>
#include <string>

#include "tools/art/image.h"

std::optional<Image> ReadPng(const std::string& path);
