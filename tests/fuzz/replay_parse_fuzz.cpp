// Feeds arbitrary text to the replay parser. A replay it accepts must come back the same when
// written out and read again; one it refuses must say where and what is wrong.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "replay/replay_file.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "%s\n%s\n", what, detail.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const std::optional<Replay> replay = ParseReplay(text, "fuzz.replay", &error);
  if (!replay) {
    if (!error.starts_with("fuzz.replay:")) Fail("a refusal that names no file:", error);
    return 0;
  }
  const std::string written = FormatReplay(*replay);
  const std::optional<Replay> again = ParseReplay(written, "written.replay", &error);
  if (!again) Fail("a replay written out is refused when read back:", error);
  if (FormatReplay(*again) != written) Fail("a replay read back differs from the one written:", written);
  return 0;
}
