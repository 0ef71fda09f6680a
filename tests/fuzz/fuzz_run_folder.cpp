#include "tests/fuzz/fuzz_run_folder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/temporary_folder.h"
#include "platform/seams/headless_window.h"
#include "shell/win_main.h"

namespace fs = std::filesystem;

namespace {

fs::path& RunFolder() {
  static fs::path folder;
  return folder;
}

void RemoveRunFolder() {
  std::error_code ignored;
  fs::remove_all(RunFolder(), ignored);
}

void MakeRunFolder() {
  std::string error;
  const std::optional<fs::path> folder = MakeTemporaryFolder("zimbrel-fuzz", &error);
  if (!folder) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::exit(1);
  }
  RunFolder() = *folder;
  fs::create_directory(RunFolder() / "gfx");
  fs::create_directory(RunFolder() / "snd");
  std::atexit(RemoveRunFolder);
}

}  // namespace

// A crash is written out while the input runs, in the run folder: libFuzzer is told to write
// it where it was started instead, unless told otherwise.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  for (int i = 1; i < *argc; ++i) {
    if (std::strncmp((*argv)[i], "-artifact_prefix=", 17) == 0) return 0;
  }
  static std::string prefix = "-artifact_prefix=" + fs::current_path().string() + "/";
  static std::vector<char*> arguments((*argv), (*argv) + *argc);
  arguments.insert(arguments.begin() + 1, prefix.data());
  arguments.push_back(nullptr);
  *argc += 1;
  *argv = arguments.data();
  return 0;
}

InFuzzRunFolder::InFuzzRunFolder() : started_(fs::current_path()) {
  if (RunFolder().empty()) MakeRunFolder();
  fs::current_path(RunFolder());
}

InFuzzRunFolder::~InFuzzRunFolder() { fs::current_path(started_); }

bool WriteFuzzFile(const char* path, const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  const bool whole = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && whole;
}

void OpenHeadlessGameWindow() {
  MainWindow = OpenHeadlessWindow(WindowProc);
  if (MainWindow == nullptr) {
    std::fprintf(stderr, "no headless window\n");
    std::exit(1);
  }
}
