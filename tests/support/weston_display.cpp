#include "tests/support/weston_display.h"

#include <stdlib.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/png_reading.h"

namespace fs = std::filesystem;

namespace {

constexpr auto kToolTimeout = std::chrono::seconds(20);

std::string FileText(const fs::path& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

WestonDisplay::WestonDisplay(const XvfbDisplay& host, int width, int height) {
  if (!host.Ready()) {
    error_ = "no X server to run in: " + host.Error();
    return;
  }
  std::string pattern = (fs::temp_directory_path() / "zimbrel-weston-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    error_ = "cannot make a runtime folder";
    return;
  }
  runtime_ = pattern;  // mkdtemp makes it 0700, as Wayland wants its runtime folder
  socket_ = "wayland-zimbrel";
  ChildProcess::Options options;
  options.command = {"weston", "--backend=x11-backend.so", "--use-pixman",
                     "--shell=kiosk-shell.so", "--socket=" + socket_, "--idle-time=0", "--debug",
                     "--width=" + std::to_string(width), "--height=" + std::to_string(height)};
  options.environment =
      EnvironmentWith({{"XDG_RUNTIME_DIR", runtime_.string()}, {"DISPLAY", host.Name()}});
  options.outputFile = runtime_ / "weston.log";
  options.errorFile = runtime_ / "weston.log";
  if (!server_.Start(options, &error_)) return;
  // The socket's lock and the socket itself appear once the compositor listens; the shell
  // client it starts is up a moment later.
  for (int wait = 0; wait < 200; ++wait) {
    if (fs::exists(runtime_ / socket_) && wait >= 10) {
      ready_ = true;
      return;
    }
    if (!server_.Running()) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  error_ = "weston did not start:\n" + FileText(runtime_ / "weston.log");
}

WestonDisplay::~WestonDisplay() {
  server_.Stop();
  std::error_code ignored;
  fs::remove_all(runtime_, ignored);
}

std::vector<std::string> WestonDisplay::ClientEnvironment(
    const std::vector<std::pair<std::string, std::string>>& changes) const {
  std::vector<std::string> environment;
  for (const std::string& entry : EnvironmentWith({})) {
    if (entry.rfind("DISPLAY=", 0) != 0) environment.push_back(entry);
  }
  std::vector<std::pair<std::string, std::string>> all = {
      {"WAYLAND_DISPLAY", socket_}, {"XDG_RUNTIME_DIR", runtime_.string()}};
  all.insert(all.end(), changes.begin(), changes.end());
  for (const auto& [name, value] : all) {
    std::erase_if(environment, [&](const std::string& entry) { return entry.rfind(name + "=", 0) == 0; });
    environment.push_back(name + "=" + value);
  }
  return environment;
}

std::optional<Image> WestonDisplay::Screenshot(const fs::path& keepAs) {
  // The screenshooter writes wayland-screenshot-<time>.png into its working directory.
  const fs::path folder = runtime_ / "shots";
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directory(folder, ignored);
  ChildProcess shooter;
  ChildProcess::Options options;
  options.command = {"weston-screenshooter"};
  options.environment = ClientEnvironment();
  options.workingDirectory = folder;
  std::string error;
  if (!shooter.Start(options, &error) || shooter.WaitForExit(kToolTimeout) != 0) return std::nullopt;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".png") continue;
    fs::copy_file(entry.path(), keepAs, fs::copy_options::overwrite_existing, ignored);
    return ReadPng(entry.path().string());
  }
  return std::nullopt;
}
