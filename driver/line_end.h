// The line end, the same for every line the program reads (game, graphics and
// template files, answers typed or piped in).
#pragma once

// A line is everything up to the line feed; a carriage return right before the
// line feed belongs to the line end. Drops that carriage return from a line
// read up to its line feed.
template <typename Line> void DropLineEndReturn(Line &line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
}
