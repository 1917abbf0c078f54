// UTF-8, the program's text: checked, cut into characters, and converted to
// and from the UTF-16 of Windows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Well-formed UTF-8: no stray continuation byte, no sequence cut short, no
// overlong form, no surrogate, nothing above U+10FFFF.
bool IsUtf8(std::string_view text);

// The number of bytes of the well-formed UTF-8 character that starts at
// text[position], or 0 when none starts there.
std::size_t Utf8CharacterLength(std::string_view text, std::size_t position);

// The conversions. A byte that starts no well-formed sequence, and a surrogate
// without its partner, each give U+FFFD; the text after them survives.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
