#include "tests/support/sound_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/files/temporary_folder.h"
#include "platform/seams/headless.h"
#include "shell/win_main.h"

void SoundTest::SetUp() {
  HeadlessEnable();
  // The device only asks that a window be given; these tests need none on screen.
  MainWindow = reinterpret_cast<HWND>(&windowStandIn_);
  std::string error;
  const std::optional<std::filesystem::path> folder = MakeTemporaryFolder("zimbrel-sound", &error);
  ASSERT_TRUE(folder) << error;
  folder_ = folder->string();
  ASSERT_EQ(SoundInit(), 1);
}

void SoundTest::TearDown() { std::filesystem::remove_all(folder_); }

std::string SoundTest::Sox(const std::string& name, const std::string& format,
                           const std::string& effects) {
  const std::string path = PathOf(name);
  const std::string command =
      "sox -D -r 11025 -n " + format + " '" + path + "' " + effects + " 2>/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return path;
}

std::string SoundTest::SoxTone(const std::string& name, const std::string& effects) {
  return Sox(name, "-r 11025 -b 16 -c 1 -e signed-integer", effects);
}

std::string SoundTest::WriteFile(const std::string& name, const Bytes& bytes) {
  WriteBytes(PathOf(name), bytes);
  return PathOf(name);
}
