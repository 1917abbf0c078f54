// Helpers shared by every test.
#include "support.h"

#include "cave/cave_grid.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

std::string ReadFile(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const fs::path &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string SourceFile(const std::string &relativePath) {
  return ReadFile(fs::path(GROTTOPRINT_SOURCE_DIR) / relativePath);
}

ScratchFolder::ScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "grottoprint-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

int StartTool(const fs::path &folder, int input, int output, const ToolRun &run, int errors) {
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child > 0) return child;
  // Moved above 2 first, so that no dup2 below overwrites one before it is read.
  for (int *stream : {&input, &output, &errors})
    *stream = *stream < 0 ? -1 : fcntl(*stream, F_DUPFD_CLOEXEC, 3);
  if (chdir(folder.c_str()) != 0 || dup2(input, STDIN_FILENO) < 0 ||
      dup2(output, STDOUT_FILENO) < 0 || (errors >= 0 && dup2(errors, STDERR_FILENO) < 0))
    _exit(126);
  if (run.fileSizeLimit) {
    // Ignoring SIGXFSZ turns a write past the limit into a failed write, as a
    // full disk would, instead of a killed process.
    if (!run.killedAtLimit) std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{*run.fileSizeLimit, *run.fileSizeLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  char *argv[] = {const_cast<char *>("grottoprint"), nullptr};
  execv(GROTTOPRINT_EXE, argv);
  _exit(127);
}

int WaitForTool(int child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0)
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Every file under `folder` with its bytes, and every folder as "NAME/", by
// path relative to `folder`.
std::map<std::string, std::string> Contents(const fs::path &folder) {
  std::map<std::string, std::string> contents;
  for (const fs::directory_entry &entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().lexically_relative(folder).generic_string();
    if (entry.is_directory())
      contents[name + "/"];
    else
      contents[name] = ReadFile(entry.path());
  }
  return contents;
}

ToolResult RunTool(const ToolRun &run) {
  const ScratchFolder scratch;
  const fs::path folder = scratch.Path() / "run";
  fs::create_directory(folder);
  for (const std::string &name : run.folders) fs::create_directories(folder / name);
  for (const auto &[name, target] : run.links) fs::create_symlink(target, folder / name);
  for (const auto &[name, bytes] : run.files) WriteFile(folder / name, bytes);
  WriteFile(scratch.Path() / "stdin", run.input);
  const std::map<std::string, std::string> before = Contents(folder);

  const int input = open((scratch.Path() / "stdin").c_str(), O_RDONLY);
  const int output = open((scratch.Path() / "stdout").c_str(), O_WRONLY | O_CREAT, 0644);
  const int errors = open((scratch.Path() / "stderr").c_str(), O_WRONLY | O_CREAT, 0644);
  if (input < 0 || output < 0 || errors < 0)
    throw std::runtime_error("cannot open the standard streams");
  ToolResult result;
  result.exitStatus = WaitForTool(StartTool(folder, input, output, run, errors));
  for (const int stream : {input, output, errors}) close(stream);
  result.output = ReadFile(scratch.Path() / "stdout");
  result.errors = ReadFile(scratch.Path() / "stderr");
  std::map<std::string, std::string> after = Contents(folder);
  for (const auto &[name, bytes] : before)
    if (!after.contains(name)) result.removed.push_back(name);
  for (auto &[name, bytes] : after) {
    const auto given = before.find(name);
    if (given == before.end() || given->second != bytes) result.written[name] = std::move(bytes);
  }
  return result;
}

namespace {

constexpr const char *ItemLetters = "PXHW_.rdwMxQcasF";

// The colour digit of the probe tile of `item` of `set` at (row, column).
// Below row 0 each tile is lopsided, so that a flipped, mirrored or shifted
// tile does not read back.
int ProbeDigit(int set, int item, int row, int column) {
  if (row == 0 && column < 5) return column;
  if (row == 0 && column < 7) return column == 5 ? item / 5 : item % 5;
  if (row == 15 && column >= 14) return column == 14 ? set / 5 : set % 5;
  return (item * 3 + row * 7 + column * column) % 5;
}

// The 54 bytes every picture starts with, little-endian field by field.
const std::string PictureHeader("BM"
                                "\xF6\xAD\x0A\x00"                 // file size 699894
                                "\x00\x00\x00\x00"                 // reserved
                                "\x36\x00\x00\x00"                 // pixel data at 54
                                "\x28\x00\x00\x00"                 // information header of 40 bytes
                                "\x88\x02\x00\x00"                 // width 648
                                "\x68\x01\x00\x00"                 // height 360, bottom row first
                                "\x01\x00\x18\x00"                 // one plane, 24 bits per pixel
                                "\x00\x00\x00\x00"                 // no compression
                                "\xC0\xAD\x0A\x00"                 // 699840 bytes of pixels
                                "\xC4\x0E\x00\x00\xC4\x0E\x00\x00" // 3780 pixels per metre, twice
                                "\x00\x00\x00\x00\x00\x00\x00\x00", // no colour table
                                54);

// The colour at pixel (x, y) from the top left, as 0xRRGGBB.
int Pixel(const std::string &picture, int x, int y) {
  const auto at = static_cast<std::size_t>(54 + ((359 - y) * 648 + x) * 3);
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(picture[at + i]); };
  return byte(2) << 16 | byte(1) << 8 | byte(0);
}

// Whether the cell shows the probe tile of `item` of `set` in the palette's colours.
bool ShowsTile(const std::string &picture, int row, int column, int set, int item,
               const std::vector<int> &palette) {
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (Pixel(picture, 4 + 16 * column + x, 4 + 16 * row + y) !=
          palette[static_cast<std::size_t>(ProbeDigit(set, item, y, x))])
        return false;
  return true;
}

} // namespace

std::string ProbeTiles(int set) {
  std::string text = "Probe tiles: each names its item in its first row.\n";
  for (int item = 0; item < 16; ++item) {
    text += "[" + std::string(ItemNames[static_cast<std::size_t>(item)]) + "]\n";
    for (int row = 0; row < 16; ++row) {
      for (int column = 0; column < 16; ++column)
        text += static_cast<char>('0' + ProbeDigit(set, item, row, column));
      text += '\n';
    }
  }
  return text;
}

// Every pixel of every cell is held against the one palette, so a cell in
// colours of its own does not read back; so does a frame in another colour.
std::vector<std::string> ReadGrid(const std::string &picture, int set, std::vector<int> palette) {
  if (picture.size() != PictureHeader.size() + 648 * 360 * 3 ||
      picture.compare(0, 54, PictureHeader) != 0)
    return {"not a 648 x 360 picture with the usual header"};
  // The colours not given: the frame's, then those of cell (0, 0), whose probe
  // tile shows the slots in order.
  for (int x = 0; palette.size() < 5; ++x) palette.push_back(Pixel(picture, x == 0 ? 0 : 4 + x, 4));
  for (int y = 0; y < 360; ++y)
    for (int x = 0; x < 648; ++x)
      if ((x < 4 || x >= 644 || y < 4 || y >= 356) && Pixel(picture, x, y) != palette[0])
        return {"the frame is not in the border colour"};
  std::vector<std::string> grid(22);
  for (int row = 0; row < 22; ++row)
    for (int column = 0; column < 40; ++column) {
      int item = 0; // the first whole tile; several fit where the palette repeats a colour
      while (item < 16 && !ShowsTile(picture, row, column, set, item, palette)) ++item;
      grid[static_cast<std::size_t>(row)] += item < 16 ? ItemLetters[item] : '?';
    }
  return grid;
}
