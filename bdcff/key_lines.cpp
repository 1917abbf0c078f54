// Recognising property lines by their key and section lines by their tag.
#include "bdcff/key_lines.h"

#include <algorithm>

std::optional<std::string> ValueAfterKey(const std::string &line, KeySpellings key) {
  for (std::string_view spelling : {key.capitalised, key.lowerCase})
    if (line.starts_with(spelling)) return line.substr(spelling.size());
  return std::nullopt;
}

bool ApplyKeyLine(const std::string &line, std::span<const KeyHandler> table) {
  for (const KeyHandler &entry : table) {
    if (const auto value = ValueAfterKey(line, entry.key)) {
      entry.apply(*value);
      return true;
    }
  }
  return false;
}

bool IsTagLine(const std::string &line, const TagSpellings &tag) {
  return std::ranges::find(tag, std::string_view(line)) != tag.end();
}

std::optional<std::string> LineBeforeTag(TextLines &input, const TagSpellings &tag, Error missing) {
  std::string line = ReadTextLine(input);
  if (IsTagLine(line, tag)) return std::nullopt;
  if (TextLinesEnded(input)) ReportError(missing);
  return line;
}
