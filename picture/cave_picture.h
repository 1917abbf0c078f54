// The cave picture: the cave grid painted with the tile set in the cave's
// colours, framed, and written as a 24-bit BMP file.
#pragma once

#include <cstdint>
#include <string>

// The name of the game's picture of cave `number` (1 for the first).
std::string PictureFileNameOf(std::int32_t number);

// Names the picture after the game and the cave's number (‹Name›_Cave_01.bmp),
// stores that name as the cave's PictureFileName, and writes the whole picture
// under it in the current directory, replacing any file of that name once the
// picture is whole. A game name holding "/", "\" or a NUL byte names no file
// here, and a picture that cannot be written completely (a failed create,
// write, close or rename) leaves the old file as it was; both end the run
// with "Creation of BMP pic failed!".
//
// A tile character other than '0'..'4' is painted in the background colour
// (slot 1), as are the missing characters of a tile shorter than 256. Every
// cell holds an item code of 0..15, as the readers set them.
void WriteCavePicture();
