// A runnable folder for one test: gfx/ and snd/ of the build, less any files the test leaves
// out, in a fresh temporary folder that becomes the working directory.
#pragma once

#include <filesystem>
#include <set>
#include <string>

std::filesystem::path EnterRunFolder(const std::set<std::string>& leftOut = {});
