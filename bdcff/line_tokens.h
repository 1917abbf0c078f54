// Cutting values out of a line: numbers, words and the two-digit cave number.
//
// A position is an index into the line, passed by reference; every reader moves
// it past what it consumed. The blank (code 32) is the only separator, so two
// blanks in a row give an empty token and a tab belongs to its token.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Reads the text as a decimal number. Every character takes one decimal place;
// a digit adds its value there, any other character the value of the nearest
// digit before it (0 where none precedes it): "12a" gives 122, "a5" gives 5.
// The empty text gives 0; a result above 2147483647 gives 2147483647.
std::int32_t ParseNumber(std::string_view text);

// "01".."09" for 1..9, plain decimal from 10 on ("60", "61", "100").
std::string TwoDigitText(std::int32_t number);

// The token up to the next blank, which must not be the line's last character:
// the line has to go on after the token. Ends the run with "Unexpected end of
// line!" when the token or its blank ends the line, or when the position is
// already at the end.
std::string ReadMidWord(std::string_view line, std::size_t &position);
std::int32_t ReadMidNumber(std::string_view line, std::size_t &position);

// The token up to the next blank (consumed) or the end of the line. At or past
// the end of the line: the empty token (0) and the position unchanged.
std::string ReadWord(std::string_view line, std::size_t &position);
std::int32_t ReadNumber(std::string_view line, std::size_t &position);

// Every character from the position to the end of the line with the blanks
// dropped ("Magic Wall" gives "MagicWall"); the position ends at the line's
// length. At or past the end: the empty token (0), position unchanged.
std::string ReadRestWord(std::string_view line, std::size_t &position);
std::int32_t ReadRestNumber(std::string_view line, std::size_t &position);
