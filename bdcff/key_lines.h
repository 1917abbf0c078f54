// Recognising property lines by their key and section lines by their tag,
// and reading the input up to a tag.
//
// A key matches at the very start of a line in one of its two spellings,
// capitalised or all lower case, equals sign included; the value is the rest
// of the line, unchanged. A tag matches only the whole line in one of its
// three spellings. Comparisons are exact: no trimming, no other capitals.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "bdcff/text_lines.h"
#include "driver/reports.h"

struct KeySpellings {
  std::string_view capitalised;
  std::string_view lowerCase;
};

// The value after the key, or nothing when the line does not begin with it.
std::optional<std::string_view> ValueAfterKey(std::string_view line, KeySpellings key);

// One key of a reader's key table and what its value sets.
struct KeyHandler {
  KeySpellings key;
  void (*apply)(std::string_view value);
};

// Hands the line's value to the handler of the first key the line begins
// with; false when the line matches no key of the table.
bool ApplyKeyLine(std::string_view line, std::span<const KeyHandler> table);

using TagSpellings = std::array<std::string_view, 3>;

bool IsTagLine(std::string_view line, const TagSpellings &tag);

// The next line of the input, or nothing when that line is the tag. The tag
// test comes before the end test, so a tag on the file's last line, without
// its line feed, is still found; any other line that runs into the end of the
// file is not returned but ends the run with `missing`.
std::optional<std::string> LineBeforeTag(TextLines &input, const TagSpellings &tag, Error missing);

inline constexpr TagSpellings DocumentTag = {"[BDCFF]", "[bdcff]", "[Bdcff]"};
inline constexpr TagSpellings DocumentEndTag = {"[/BDCFF]", "[/bdcff]", "[/Bdcff]"};
inline constexpr TagSpellings GameTag = {"[game]", "[GAME]", "[Game]"};
inline constexpr TagSpellings GameEndTag = {"[/game]", "[/GAME]", "[/Game]"};
inline constexpr TagSpellings CaveTag = {"[cave]", "[CAVE]", "[Cave]"};
inline constexpr TagSpellings CaveEndTag = {"[/cave]", "[/CAVE]", "[/Cave]"};
inline constexpr TagSpellings MapTag = {"[map]", "[MAP]", "[Map]"};
inline constexpr TagSpellings ObjectsTag = {"[objects]", "[OBJECTS]", "[Objects]"};
inline constexpr TagSpellings MapEndTag = {"[/map]", "[/MAP]", "[/Map]"};
inline constexpr TagSpellings ObjectsEndTag = {"[/objects]", "[/OBJECTS]", "[/Objects]"};
