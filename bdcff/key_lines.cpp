// Recognising property lines by their key and section lines by their tag,
// and reading the input up to a tag.
#include "bdcff/key_lines.h"

#include <algorithm>

std::optional<std::string_view> ValueAfterKey(std::string_view line, KeySpellings key) {
  for (std::string_view spelling : {key.capitalised, key.lowerCase})
    if (line.starts_with(spelling)) return line.substr(spelling.size());
  return std::nullopt;
}

bool ApplyKeyLine(std::string_view line, std::span<const KeyHandler> table) {
  for (const KeyHandler &entry : table) {
    if (const auto value = ValueAfterKey(line, entry.key)) {
      entry.apply(*value);
      return true;
    }
  }
  return false;
}

bool IsTagLine(std::string_view line, const TagSpellings &tag) {
  return std::ranges::find(tag, line) != tag.end();
}

std::optional<std::string> LineBeforeTag(TextLines &input, const TagSpellings &tag, Error missing) {
  std::string line = ReadTextLine(input);
  if (IsTagLine(line, tag)) return std::nullopt;
  if (TextLinesEnded(input)) ReportError(missing);
  return line;
}
