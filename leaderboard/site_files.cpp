#include "leaderboard/site_files.h"

#include <httplib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
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
  http.set_file_extension_and_mimetype_mapping("data", "application/octet-stream");  // not text
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
