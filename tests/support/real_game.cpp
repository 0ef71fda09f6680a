#include "tests/support/real_game.h"

#include <png.h>
#include <stdlib.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <thread>

#include "platform/files/temporary_folder.h"
#include "tests/support/file_bytes.h"
#include "tools/art/bmp_file.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Tens of seconds: the sanitized game on a machine busy with other tests is slow to start.
constexpr auto kPatience = std::chrono::seconds(60);
constexpr auto kToolTimeout = std::chrono::seconds(20);
constexpr auto kPollPause = std::chrono::milliseconds(20);

static_assert(sizeof(Rgb8) == 3, "screenshots are written as packed RGB rows");

// Test names of parameterised tests hold slashes, descriptions spaces; file names hold neither.
std::string FileNameOf(std::string text) {
  for (char& c : text) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_') c = '-';
  }
  return text;
}

std::string CurrentTestName() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  if (!test) return "outside-a-test";
  return FileNameOf(std::string(test->test_suite_name()) + "." + test->name());
}

bool WritePng(const Image& image, const fs::path& path) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr) != 0;
}

std::string SecondsOf(std::chrono::seconds duration) {
  return std::to_string(duration.count()) + " s";
}

}  // namespace

RealGame::RealGame(XvfbDisplay& display, const std::map<std::string, std::string>& environment)
    : display_(display) {
  // A sanitized game keeps its error checks but not its leak report: at exit, D-Bus and the
  // GL driver that SDL unloads leave blocks behind that are not the game's. The headless
  // tests check the game's own memory, whole program included.
  const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
  std::map<std::string, std::string> settings = {
      {"SDL_VIDEODRIVER", "x11"},
      {"SDL_AUDIODRIVER", "dummy"},
      {"ASAN_OPTIONS", std::string(sanitizerOptions ? sanitizerOptions : "") + ":detect_leaks=0"}};
  for (const auto& [name, value] : environment) settings[name] = value;
  settings["DISPLAY"] = display.Name();
  environment_ = EnvironmentWith(settings);
}

RealGame::~RealGame() {
  if (::testing::Test::HasFailure() && !root_.empty()) {
    if (game_.Running()) KeepScreenshot(display_.Screenshot(), "at the end of the test");
    fs::create_directories(ArtefactFolder());
    std::ofstream(ArtefactFolder() / "game-output.txt") << Output();
  }
  game_.Stop();
  std::error_code ignored;
  if (!root_.empty()) fs::remove_all(root_, ignored);
}

::testing::AssertionResult RealGame::Start(const std::vector<std::string>& command) {
  ::testing::AssertionResult ready = MakeOwnFolder();
  if (!ready) return ready;
  const fs::path folder = root_ / "run";
  const fs::path built = ZIMBREL_RUN_DIR;
  std::error_code failed;
  fs::create_directory(folder, failed);
  fs::copy_file(built / command.at(0), folder / command.at(0), failed);
  // The game's sender is found beside it, as installed.
  if (!failed) fs::copy_file(built / "zimbrel-send", folder / "zimbrel-send", failed);
  for (const char* sub : {"gfx", "snd"}) {
    if (!failed) fs::copy(built / sub, folder / sub, fs::copy_options::recursive, failed);
  }
  if (failed) {
    return ::testing::AssertionFailure()
           << "cannot copy the runnable folder " << built << ": " << failed.message();
  }
  std::vector<std::string> copied = command;
  copied[0] = (folder / command[0]).string();
  return Launch(copied, folder);
}

::testing::AssertionResult RealGame::StartCommand(const std::vector<std::string>& command,
                                                  const fs::path& workingDirectory) {
  ::testing::AssertionResult ready = MakeOwnFolder();
  if (!ready) return ready;
  return Launch(command, workingDirectory);
}

::testing::AssertionResult RealGame::MakeOwnFolder() {
  if (!display_.Ready()) return ::testing::AssertionFailure() << display_.Error();
  std::error_code ignored;
  fs::remove_all(ArtefactFolder(), ignored);  // what an earlier run of this test kept
  std::string error;
  const std::optional<fs::path> root = MakeTemporaryFolder("zimbrel-real", &error);
  if (!root) return ::testing::AssertionFailure() << error;
  root_ = *root;
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult RealGame::Launch(const std::vector<std::string>& command,
                                            const fs::path& workingDirectory) {
  folder_ = workingDirectory;
  ChildProcess::Options options;
  options.command = command;
  options.environment = environment_;
  options.workingDirectory = folder_;
  options.outputFile = root_ / "stdout.txt";
  options.errorFile = root_ / "stderr.txt";
  std::string error;
  if (!game_.Start(options, &error)) return ::testing::AssertionFailure() << error;
  unsigned long window = 0;
  return FindWindow(&window);
}

::testing::AssertionResult RealGame::FindWindow(unsigned long* window) {
  const auto deadline = Clock::now() + kPatience;
  for (;;) {
    const CommandResult found = RunCommand(
        {"xdotool", "search", "--onlyvisible", "--class", "WINXCLASS"}, environment_, kToolTimeout);
    *window = std::strtoul(found.output.c_str(), nullptr, 10);
    if (*window != 0) return ::testing::AssertionSuccess();
    if (const std::optional<int> code = game_.WaitForExit(std::chrono::milliseconds(0))) {
      return ::testing::AssertionFailure()
             << "the game has ended, with code " << *code << ", and has no window:\n"
             << Output();
    }
    if (Clock::now() > deadline) {
      return ::testing::AssertionFailure()
             << "no visible window of class WINXCLASS within " << SecondsOf(kPatience);
    }
    std::this_thread::sleep_for(kPollPause);
  }
}

unsigned long RealGame::Window() {
  unsigned long window = 0;
  EXPECT_TRUE(FindWindow(&window));
  return window;
}

void RealGame::EnsureFocus() {
  const unsigned long window = Window();
  if (window == 0 || window == focusedWindow_) return;
  Xdotool({"windowfocus", "--sync", std::to_string(window)});
  focusedWindow_ = window;
}

Image RealGame::Picture(const std::string& name) const {
  const fs::path path = folder_ / "gfx" / name;
  std::optional<Image> picture = ReadBmp24(path.string());
  if (!picture) {
    ADD_FAILURE() << "cannot read the picture " << path;
    return {};
  }
  return *picture;
}

::testing::AssertionResult RealGame::WaitForScreen(const std::string& what,
                                                   const ScreenCheck& check) {
  const auto deadline = Clock::now() + kPatience;
  for (;;) {
    const Image shot = display_.Screenshot();
    ::testing::AssertionResult seen = shot.width > 0
                                          ? check(shot)
                                          : ::testing::AssertionFailure() << "no screenshot";
    if (seen) return seen;
    const std::optional<int> ended = game_.WaitForExit(std::chrono::milliseconds(0));
    if (ended || Clock::now() > deadline) {
      ::testing::AssertionResult failure = ::testing::AssertionFailure();
      failure << "the screen did not show " << what;
      if (ended) failure << " before the game ended with code " << *ended;
      else failure << " within " << SecondsOf(kPatience);
      return failure << " (" << seen.message() << "); last screenshot: "
                     << KeepScreenshot(shot, what);
    }
    std::this_thread::sleep_for(kPollPause);
  }
}

void RealGame::PressKey(const std::string& keysym) { Input({"key", keysym}); }
void RealGame::KeyDown(const std::string& keysym) { Input({"keydown", keysym}); }
void RealGame::KeyUp(const std::string& keysym) { Input({"keyup", keysym}); }
void RealGame::MouseDown(int button) { Input({"mousedown", std::to_string(button)}); }
void RealGame::MouseUp(int button) { Input({"mouseup", std::to_string(button)}); }
void RealGame::Click(int button) { Input({"click", std::to_string(button)}); }
void RealGame::MoveMouse(int countsX, int countsY) {
  Input({"mousemove_relative", "--", std::to_string(countsX), std::to_string(countsY)});
}
void RealGame::MoveMouseAndClick(int countsX, int countsY, int button) {
  Input({"mousemove_relative", "--", std::to_string(countsX), std::to_string(countsY), "click",
         std::to_string(button)});
}

void RealGame::SendWindowClose() {
  const unsigned long window = Window();
  if (window == 0 || !display_.SendCloseRequest(window)) {
    ADD_FAILURE() << "cannot send the window manager's close to window " << window;
  }
}

void RealGame::AnswerBox(const std::string& caption) {
  const auto deadline = Clock::now() + kPatience;
  while (Clock::now() < deadline && !game_.WaitForExit(std::chrono::milliseconds(0))) {
    if (const unsigned long box = display_.FindWindowTitled(caption)) {
      Xdotool({"windowfocus", "--sync", std::to_string(box)});
      Xdotool({"key", "Return"});
      return;
    }
    std::this_thread::sleep_for(kPollPause);
  }
}

void RealGame::SendSignal(int signalNumber) { game_.Signal(signalNumber); }

std::optional<int> RealGame::WaitForExit() { return game_.WaitForExit(kPatience); }

std::string RealGame::Output() const {
  if (root_.empty()) return {};
  return FileText(root_ / "stdout.txt") + FileText(root_ / "stderr.txt");
}

void RealGame::Input(const std::vector<std::string>& arguments) {
  EnsureFocus();
  Xdotool(arguments);
}

void RealGame::Xdotool(const std::vector<std::string>& arguments) {
  std::vector<std::string> command = {"xdotool"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  const CommandResult result = RunCommand(command, environment_, kToolTimeout);
  if (result.exitCode != 0) {
    std::string line;
    for (const std::string& word : command) line += word + " ";
    ADD_FAILURE() << line << "failed: " << result.output;
  }
}

std::string RealGame::KeepScreenshot(const Image& screenshot, const std::string& what) {
  const fs::path path = ArtefactFolder() / (FileNameOf(what) + ".png");
  std::error_code failed;
  fs::create_directories(path.parent_path(), failed);
  if (screenshot.width <= 0 || !WritePng(screenshot, path)) return "(none could be kept)";
  return path.string();
}

fs::path RealGame::ArtefactFolder() const {
  return fs::path(ZIMBREL_REAL_WINDOW_ARTEFACTS) / CurrentTestName();
}

RealGame::ScreenCheck ShowsPicture(const Image& picture, GameRect region, double tolerance) {
  return [picture, region, tolerance](const Image& screenshot) {
    const double difference = MeanDifference(screenshot, picture, region);
    if (difference <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "mean difference " << difference << " in (" << region.x << ", " << region.y
           << ", " << region.width << " x " << region.height << "), tolerance " << tolerance;
  };
}
