// Reading a text file line by line, as bytes.
//
// A line is everything up to the next line feed; the line feed, and a carriage
// return right before it, belong to the line end. Nothing else is removed: a
// lone carriage return, a Ctrl-Z or a NUL byte is an ordinary character. The
// last line may lack its line feed; reading it marks the input as ended, and so
// does a read when nothing is left, which gives the empty line.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct TextLines {
  std::FILE *file = nullptr;
  std::vector<char> buffer;
  std::size_t next = 0;   // first unread byte in the buffer
  std::size_t filled = 0; // bytes of the buffer that hold file data
  bool ended = false;
};

// Opens the named file for reading. False when it cannot be opened or read:
// a missing file, a directory, an unreadable file, or a name holding a NUL byte.
bool OpenTextLines(TextLines &input, const std::string &name);

// The next line, without its line end. Sets `ended` as described above.
std::string ReadTextLine(TextLines &input);

// True when the last read reached the end of the file.
inline bool TextLinesEnded(const TextLines &input) {
  return input.ended;
}

void CloseTextLines(TextLines &input);
