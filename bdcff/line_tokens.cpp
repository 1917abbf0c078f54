// Cutting values out of a line: numbers, words and the two-digit cave number.
#include "bdcff/line_tokens.h"

#include <algorithm>
#include <iterator>

#include "driver/reports.h"

namespace {

constexpr char Blank = ' ';
constexpr std::int64_t LargestNumber = 2147483647;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

} // namespace

std::int32_t ParseNumber(std::string_view text) {
  std::int64_t result = 0;
  std::int64_t placeValue = 0; // what a non-digit adds: the nearest digit before it
  for (char c : text) {
    if (IsDigit(c)) placeValue = c - '0';
    // Clamping at every step keeps the sum far from overflow; a clamped sum
    // never falls back below the limit since every place adds zero or more.
    result = std::min(result * 10 + placeValue, LargestNumber + 1);
  }
  return static_cast<std::int32_t>(std::min(result, LargestNumber));
}

std::string TwoDigitText(std::int32_t number) {
  std::string text = std::to_string(number);
  if (number >= 0 && number <= 9) text.insert(text.begin(), '0');
  return text;
}

std::string ReadMidWord(std::string_view line, std::size_t &position) {
  if (position >= line.size()) ReportError(Error::UnexpectedEndOfLine);
  std::string token;
  for (;;) {
    const char c = line[position++];
    // The end test comes before the blank test: a blank that ends the line
    // leaves nothing for the value that must follow it.
    if (position == line.size()) ReportError(Error::UnexpectedEndOfLine);
    if (c == Blank) return token;
    token.push_back(c);
  }
}

std::int32_t ReadMidNumber(std::string_view line, std::size_t &position) {
  return ParseNumber(ReadMidWord(line, position));
}

std::string ReadWord(std::string_view line, std::size_t &position) {
  std::string token;
  while (position < line.size()) {
    const char c = line[position++];
    if (c == Blank) break;
    token.push_back(c);
  }
  return token;
}

std::int32_t ReadNumber(std::string_view line, std::size_t &position) {
  return ParseNumber(ReadWord(line, position));
}

std::string ReadRestWord(std::string_view line, std::size_t &position) {
  if (position >= line.size()) return {};
  std::string token;
  std::copy_if(line.begin() + static_cast<std::ptrdiff_t>(position), line.end(),
               std::back_inserter(token), [](char c) { return c != Blank; });
  position = line.size();
  return token;
}

std::int32_t ReadRestNumber(std::string_view line, std::size_t &position) {
  return ParseNumber(ReadRestWord(line, position));
}
