// UTF-8 checked and converted, which the Windows tool uses for the file names
// it accepts and the console window (the page's addresses take the check's
// cut into characters on every system): the conversions
// must carry names beyond ASCII both ways, show broken text as U+FFFD, and
// the check must tell well-formed UTF-8 from the rest.
#include "driver/utf8_text.h"

#include <gtest/gtest.h>

namespace {

// Names as a user types them: one, two, three and four bytes a letter, the
// last as a surrogate pair.
TEST(Utf8Text, NamesBeyondAsciiBothWays) {
  const std::pair<const char *, std::u16string> cases[] = {
      {"sample_caves.bd", u"sample_caves.bd"},
      {"H\xC3\xB6hle.bd", u"H\u00F6hle.bd"},
      {"Grotte \xC3\x89t\xC3\xA9 \xE6\xB4\x9E\xE7\xAA\x9F", u"Grotte \u00C9t\u00E9 \u6D1E\u7A9F"},
      {"\xF0\x9F\xAA\xA8 \xF4\x8F\xBF\xBF", u"\xD83E\xDEA8 \xDBFF\xDFFF"},
      {"\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80",
       u"\x007F\x0080\x07FF\x0800\xFFFF\xD800\xDC00"},
  };
  for (const auto &[narrow, wide] : cases) {
    EXPECT_TRUE(IsUtf8(narrow)) << narrow;
    EXPECT_EQ(Utf8ToUtf16(narrow), wide) << narrow;
    EXPECT_EQ(Utf16ToUtf8(wide), narrow) << narrow;
  }
}

// Bytes that are no UTF-8 (a game name may hold any) show as U+FFFD, one for
// each byte, and the text after them survives; so does a lone surrogate.
TEST(Utf8Text, BrokenTextShowsReplacementCharacters) {
  const std::pair<const char *, std::u16string> narrowCases[] = {
      {"Caf\xE9!", u"Caf\uFFFD!"},
      {"a\xC0\xAF-", u"a\uFFFD\uFFFD-"},
      {"\x80x", u"\uFFFDx"},
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
      {"\xED\xA0\x80x", u"\uFFFD\uFFFD\uFFFDx"},
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xE2\x82", u"\uFFFD\uFFFD"},
      {"\xC3(", u"\uFFFD("},
      {"\xF5\x80\xFF", u"\uFFFD\uFFFD\uFFFD"},
  };
  for (const auto &[narrow, wide] : narrowCases) {
    EXPECT_FALSE(IsUtf8(narrow)) << narrow;
    EXPECT_EQ(Utf8ToUtf16(narrow), wide) << narrow;
  }
  EXPECT_TRUE(IsUtf8("\xEF\xBF\xBD"));                // U+FFFD itself is well-formed
  EXPECT_TRUE(IsUtf8(std::string_view("ok\xFF", 2))); // a view ends at its size
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x\xDC00\xDBFF\xE000"),
            "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD\xEE\x80\x80");
  EXPECT_EQ(Utf16ToUtf8(u"\xDFFF\xDBFF"), "\xEF\xBF\xBD\xEF\xBF\xBD"); // the last ones of each half
}

} // namespace
