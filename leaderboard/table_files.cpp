#include "leaderboard/table_files.h"

#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/sdl/font_file.h"

namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// The browser build's 192 px icon, named by the build's content hash (icon-192.<hash>.png).
std::string SiteIconBytes(const std::string& site) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(site, error)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("icon-192.") && name.ends_with(".png")) return FileBytes(entry.path().string());
  }
  return "";
}

// Read once: a page of the table asks for them on every first visit.
void ServeBytes(httplib::Server& http, const std::string& path, std::string bytes, const char* type) {
  http.Get(path, [bytes = std::move(bytes), type](const httplib::Request&, httplib::Response& response) {
    if (bytes.empty()) {
      // Nothing to show, and nothing wrong with that: the browser's console stays quiet.
      response.status = 204;
      return;
    }
    response.set_header("Cache-Control", "public, max-age=86400");
    response.set_content(bytes, type);
  });
}

}  // namespace

void ServeTableFiles(httplib::Server& http, const std::string& site) {
  // The game draws its text in Comic Neue Bold; the table is written in it too.
  FontFile font;
  FindFontFile("Comic Neue", true, false, &font);
  ServeBytes(http, kTableFontPath, FileBytes(font.path), "font/otf");
  ServeBytes(http, "/favicon.ico", site.empty() ? "" : SiteIconBytes(site), "image/png");
  // The replays' files and the API are for programs, not for a search engine's index.
  ServeBytes(http, "/robots.txt", "User-agent: *\nDisallow: /api/\n", "text/plain; charset=utf-8");
}
