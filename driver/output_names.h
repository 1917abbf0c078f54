// The names of the files a run writes: every picture and the page are named
// after the game, in the current folder.
#pragma once

#include <string_view>

// Every picture is a BMP file, whatever extension the page gives its links.
constexpr std::string_view PictureSuffix = ".bmp";

// True when a game name, followed by a suffix of the tool's own, names a file
// of the current folder. Everywhere "/", "\" and a NUL byte are refused: they
// would lead out of the folder or cut the name short. On Windows the name must
// also hold none of the characters Windows forbids in file names (< > : " | ?
// * and bytes 1 to 31), must not name a device (CON, PRN, AUX, NUL, COM1-9,
// LPT1-9, in any case) before its first dot, since "nul.txt.html" would reach
// the device and write nothing, and must be UTF-8: the tool runs with UTF-8 as
// its code page, so other bytes would reach the disk as other characters than
// the page's links hold. Where Windows is too old to honour that code page,
// only ASCII names pass.
bool NamesFileHere(std::string_view name);
