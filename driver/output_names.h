// The names of the files a run writes: every picture and the page are named
// after the game, in the current folder.
#pragma once

#include <string_view>

// Every picture is a BMP file, whatever extension the page gives its links.
constexpr std::string_view PictureSuffix = ".bmp";

// True when a game name, followed by a suffix of the tool's own, names a file
// of the current folder. Everywhere "/", "\" and a NUL byte are refused: they
// would lead out of the folder or cut the name short. On Windows the name
// must also be UTF-8 (the tool runs with UTF-8 as its code page, so other
// bytes would turn into different characters on disk than in the page's
// links; where Windows is too old to honour that, only ASCII), hold none of the characters that
// Windows forbids in a file name
// (< > : " | ? * and bytes 1 to 31), and must not name a device (CON, PRN,
// AUX, NUL, COM1-9, LPT1-9) before its first dot, in any case: "nul.txt.html"
// would reach the device and write nothing.
bool NamesFileHere(std::string_view name);
