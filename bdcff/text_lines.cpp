// Reading a text file line by line, as bytes.
#include "bdcff/text_lines.h"

#include <cstring>

#include "driver/line_end.h"

namespace {

constexpr std::size_t ChunkSize = 1 << 16;

// Refills the buffer; false at the end of the file or on a read failure,
// which both end the input.
bool Refill(TextLines &input) {
  if (input.file == nullptr) return false;
  input.next = 0;
  input.filled = std::fread(input.buffer.data(), 1, input.buffer.size(), input.file);
  return input.filled > 0;
}

} // namespace

bool OpenTextLines(TextLines &input, const std::string &name) {
  CloseTextLines(input);
  if (name.find('\0') != std::string::npos) return false; // the name would be cut short
  input.file = std::fopen(name.c_str(), "rb");
  if (input.file == nullptr) return false;
  input.buffer.resize(ChunkSize);
  // Reading the first chunk now turns a directory or an unreadable file into
  // a failure to open, instead of an input that silently looks empty.
  if (!Refill(input) && std::ferror(input.file)) {
    CloseTextLines(input);
    return false;
  }
  return true;
}

std::string ReadTextLine(TextLines &input) {
  std::string line;
  for (;;) {
    if (input.next == input.filled && !Refill(input)) {
      input.ended = true;
      return line;
    }
    const char *start = input.buffer.data() + input.next;
    const std::size_t available = input.filled - input.next;
    const void *feed = std::memchr(start, '\n', available);
    if (feed == nullptr) {
      line.append(start, available);
      input.next = input.filled;
      continue;
    }
    const auto length = static_cast<std::size_t>(static_cast<const char *>(feed) - start);
    line.append(start, length);
    input.next += length + 1;
    DropLineEndReturn(line);
    return line;
  }
}

void CloseTextLines(TextLines &input) {
  if (input.file != nullptr) std::fclose(input.file);
  input = TextLines{};
}
