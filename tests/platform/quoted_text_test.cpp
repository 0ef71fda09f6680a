// What a message repeats of what it was given: UTF-8 stands as written, every control
// character (C0, DEL, and C1, whose U+009B a terminal may take for an escape) and every byte
// that is not UTF-8 is shown as \xNN, and a quoted word stops at 40 characters, not bytes.
#include <gtest/gtest.h>

#include <string>

#include "platform/options/quoted_text.h"

namespace {

struct Shown {
  const char* what;
  std::string given;
  std::string quoted;
  std::string whole;  // as ShownText gives it
};

TEST(QuotedText, ShowsEveryCharacterAsTextAndCutsAtFortyCharacters) {
  const Shown cases[] = {
      {"plain", "--windowed", "'--windowed'", "--windowed"},
      {"an escape sequence", "\x1b[2J", "'\\x1B[2J'", "\\x1B[2J"},
      {"a newline and DEL", "a\nb\x7f", "'a\\x0Ab\\x7F'", "a\\x0Ab\\x7F"},
      {"C1's CSI as UTF-8", "x\xc2\x9b" "31m", "'x\\xC2\\x9B31m'", "x\\xC2\\x9B31m"},
      {"letters of other scripts", "Zöé中", "'Zöé中'", "Zöé中"},
      {"bytes that are not UTF-8", "a\xff\xc3", "'a\\xFF\\xC3'", "a\\xFF\\xC3"},
      {"an overlong slash", "\xc0\xaf", "'\\xC0\\xAF'", "\\xC0\\xAF"},
      {"the quote and the backslash", "it's\\", "'it\\x27s\\\\'", "it's\\"},
      {"41 characters", std::string(41, '7'), "'" + std::string(40, '7') + "...'",
       std::string(41, '7')},
  };
  for (const Shown& shown : cases) {
    SCOPED_TRACE(shown.what);
    EXPECT_EQ(QuotedText(shown.given), shown.quoted);
    EXPECT_EQ(ShownText(shown.given), shown.whole);
  }
  // Forty characters of two bytes each are all shown: the cut counts characters.
  std::string eAcute;
  for (int i = 0; i < 41; ++i) eAcute += "é";
  EXPECT_EQ(QuotedText(eAcute), "'" + eAcute.substr(0, 80) + "...'");
}

}  // namespace
