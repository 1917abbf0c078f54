// UTF-8, the program's text, checked and converted to and from the UTF-16 of
// Windows.
#pragma once

#include <string>
#include <string_view>

// Well-formed UTF-8: no stray continuation byte, no sequence cut short, no
// overlong form, no surrogate, nothing above U+10FFFF.
bool IsUtf8(std::string_view text);

// The conversions. A byte that starts no well-formed sequence, and a surrogate
// without its partner, each give U+FFFD; the text after them survives.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
