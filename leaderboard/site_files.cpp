#include "leaderboard/site_files.h"

#include <httplib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <regex>

namespace fs = std::filesystem;

namespace {

constexpr char kMount[] = "/play";

// The build names its files by their content ("zimbrel.0123456789ab.wasm"): a browser may keep
// them for good, while index.html, which names them, is asked for again at each visit.
bool NamedByContent(const std::string& name) {
  static const std::regex hashed(R"(\.[0-9a-f]{12}\.[a-z]+$)");
  return std::regex_search(name, hashed);
}

bool TakesGzip(const httplib::Request& request) {
  return std::regex_search(request.get_header_value("Accept-Encoding"), std::regex(R"(\bgzip\b)"));
}

// What httplib compresses itself, as it sends it: a gzip of those would be compressed twice.
bool CompressedByHttplib(const std::string& type) {
  static const std::regex text(R"(^(text/|application/(javascript|json|xml|xhtml\+xml)|image/svg\+xml))");
  return std::regex_search(type, text);
}

}  // namespace

void ServeSite(httplib::Server& http, const std::string& folder) {
  // The page finds the API and the world's table from its own place, /play/.
  http.set_mount_point(kMount, folder, {{kLeaderboardHeader, "../"}});
  // Every file the web build makes, typed as a browser needs it (httplib knows some of them
  // differently, and some not at all).
  for (const auto& [extension, type] : std::initializer_list<std::pair<const char*, const char*>>{
           {"html", "text/html; charset=utf-8"}, {"js", "text/javascript; charset=utf-8"},
           {"css", "text/css; charset=utf-8"}, {"txt", "text/plain; charset=utf-8"},
           {"webmanifest", "application/manifest+json"}, {"wasm", "application/wasm"},
           {"png", "image/png"}, {"data", "application/octet-stream"}, {"gz", "application/gzip"}}) {
    http.set_file_extension_and_mimetype_mapping(extension, type);
  }
  // A folder asked for without its slash: its relative links need the slash. Files are served
  // before this; what reaches it is a folder or nothing.
  http.Get(R"(/play/(.*))", [folder](const httplib::Request& request, httplib::Response& response) {
    const std::string inside = request.matches[1];
    const bool climbs = ("/" + inside + "/").find("/../") != std::string::npos;
    if (!climbs && !inside.empty() && inside.back() != '/' && fs::is_directory(folder + "/" + inside)) {
      response.set_redirect(request.path + "/", 301);
      return;
    }
    response.status = 404;
  });
  // httplib has checked the path and read the file. The build's gzip beside the program and the
  // pictures and sounds goes instead where the browser takes it; httplib compresses the rest.
  http.set_file_request_handler([folder](const httplib::Request& request, httplib::Response& response) {
    if (request.path == kMount) {
      // Its relative links need the slash.
      response.body.clear();
      response.set_redirect("/play/");
      return;
    }
    // The file httplib read: the folder, a slash and the path past the mount.
    std::string name = "/" + request.path.substr(std::strlen(kMount));
    if (name.back() == '/') name += "index.html";
    response.set_header("Cache-Control", NamedByContent(name) ? "public, max-age=31536000, immutable" : "no-cache");
    response.set_header("Vary", "Accept-Encoding");
    if (!response.has_header("Content-Type")) response.set_header("Content-Type", "application/octet-stream");
    const std::string gzip = folder + name + ".gz";
    if (!TakesGzip(request) || CompressedByHttplib(response.get_header_value("Content-Type")) ||
        !fs::is_regular_file(gzip)) {
      return;
    }
    std::ifstream file(gzip, std::ios::binary);
    std::string bytes(std::istreambuf_iterator<char>(file), {});
    if (!file.bad()) {
      response.body = std::move(bytes);
      response.set_header("Content-Encoding", "gzip");
    }
  });
}
