// The conversions between the program's UTF-8 and the UTF-16 of the Windows
// console window, which only a Windows console reaches; on every system they
// must carry names beyond ASCII both ways and show broken text as U+FFFD.
#include "driver/console_window.h"

#include <gtest/gtest.h>

namespace {

// Names as a user types them: one, two, three and four bytes a letter, the
// last as a surrogate pair.
TEST(ConsoleWindow, NamesBeyondAsciiBothWays) {
  const std::pair<const char *, std::u16string> cases[] = {
      {"sample_caves.bd", u"sample_caves.bd"},
      {"H\xC3\xB6hle.bd", u"H\u00F6hle.bd"},
      {"Grotte \xC3\x89t\xC3\xA9 \xE6\xB4\x9E\xE7\xAA\x9F", u"Grotte \u00C9t\u00E9 \u6D1E\u7A9F"},
      {"\xF0\x9F\xAA\xA8 \xF4\x8F\xBF\xBF", u"\xD83E\xDEA8 \xDBFF\xDFFF"},
      {"\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80",
       u"\x007F\x0080\x07FF\x0800\xFFFF\xD800\xDC00"},
  };
  for (const auto &[narrow, wide] : cases) {
    EXPECT_EQ(Utf8ToUtf16(narrow), wide) << narrow;
    EXPECT_EQ(Utf16ToUtf8(wide), narrow) << narrow;
  }
}

// Bytes that are no UTF-8 (a game name may hold any) show as U+FFFD, one for
// each byte, and the text after them survives; so does a lone surrogate.
TEST(ConsoleWindow, BrokenTextShowsReplacementCharacters) {
  const std::pair<const char *, std::u16string> narrowCases[] = {
      {"Caf\xE9!", u"Caf\uFFFD!"},
      {"a\xC0\xAF"
       "b",
       u"a\uFFFD\uFFFDb"},
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
      {"\xED\xA0\x80x", u"\uFFFD\uFFFD\uFFFDx"},
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xE2\x82", u"\uFFFD\uFFFD"},
      {"\xC3(", u"\uFFFD("},
  };
  for (const auto &[narrow, wide] : narrowCases) EXPECT_EQ(Utf8ToUtf16(narrow), wide) << narrow;
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x\xDC00"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xDBFF')), "\xEF\xBF\xBD");
}

} // namespace
