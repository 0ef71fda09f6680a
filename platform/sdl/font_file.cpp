// The font file over fontconfig.
#include "platform/sdl/font_file.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <cstdlib>

namespace {

// Comic Neue as the fonts-comic-neue package installs it.
constexpr char kInstalledBoldFont[] = "/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf";
constexpr char kInstalledRegularFont[] =
    "/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf";

// The file fontconfig picks for a family; unless any family will do, only if it picked that
// family and not a stand-in.
bool MatchFamily(const char* family, bool bold, bool italic, bool anyFamily, FontFile* out) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  bool found = false;
  if (match) {
    FcChar8* matchedFamily = nullptr;
    FcChar8* file = nullptr;
    int weight = FC_WEIGHT_REGULAR;
    int index = 0;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    const bool familyFits =
        anyFamily ||
        (FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch &&
         strcasecmp(family, reinterpret_cast<const char*>(matchedFamily)) == 0);
    if (familyFits && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
      out->path = reinterpret_cast<const char*>(file);
      out->index = index;
      out->bold = weight >= FC_WEIGHT_DEMIBOLD;
      found = true;
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return found;
}

}  // namespace

void FindFontFile(const char* face, bool bold, bool italic, FontFile* out) {
  // fontconfig keeps its configuration until FcFini; give it back when the process ends.
  static const bool releasedAtExit = std::atexit(FcFini) == 0;
  (void)releasedAtExit;
  if (face && *face && MatchFamily(face, bold, italic, false, out)) return;
  if (MatchFamily("Comic Neue", bold, italic, false, out)) return;
  if (MatchFamily("sans-serif", bold, italic, true, out)) return;
  // fontconfig knows no font at all (an empty or broken configuration): the file that the
  // game's installation brings.
  out->path = bold ? kInstalledBoldFont : kInstalledRegularFont;
  out->index = 0;
  out->bold = bold;
}
