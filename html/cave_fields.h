// The bracketed fields of the HTML template: "[CaveName]", "[Filename]", ...
#pragma once

#include <cstddef>
#include <string>

// Called with `position` just after a "[" of `text`: writes the named field's
// value to HtmlFile and leaves `position` just after the closing "]". The name
// is everything between the brackets, compared exactly; an unknown name
// writes nothing and warns. A "[" with no "]" after it is written as it
// stands, with the rest of `text`, and `position` ends at the end of `text`.
void WriteField(const std::string &text, std::size_t &position);
