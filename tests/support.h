// Helpers shared by every test: whole files, scratch folders and runs of the
// built tool in a folder of their own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

std::string ReadFile(const std::filesystem::path &path);
void WriteFile(const std::filesystem::path &path, const std::string &bytes);

// The bytes of a file of the source tree, e.g. "data/html_structure.txt".
std::string SourceFile(const std::string &relativePath);

// A new empty folder under the system's temporary folder, removed with all it
// holds at the end of the scope.
class ScratchFolder {
public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder &) = delete;
  ScratchFolder &operator=(const ScratchFolder &) = delete;
  const std::filesystem::path &Path() const { return path_; }

private:
  std::filesystem::path path_;
};

struct ToolRun {
  std::map<std::string, std::string> files;   // name -> bytes, put in the folder first
  std::vector<std::string> folders;           // empty sub-folders to create
  std::string input;                          // bytes on standard input
  std::map<std::string, std::string> links;   // symbolic links to create: name -> target
  std::optional<std::uint64_t> fileSizeLimit; // a full disk: writes past it fail
  bool killedAtLimit = false;                 // a write past the limit kills the tool instead
};

struct ToolResult {
  std::string output;                         // standard output
  std::string errors;                         // standard error
  int exitStatus = -1;                        // 128 + signal number when a signal ended it
  std::map<std::string, std::string> written; // files that are new or changed, by path
  std::vector<std::string> removed;           // files and folders ("NAME/") that are gone
};

// Runs the built tool in a fresh folder holding the run's files.
ToolResult RunTool(const ToolRun &run);

// Starts the built tool in `folder` with the given descriptors as standard
// input, output and error (-1: the caller's); returns its process id.
int StartTool(const std::filesystem::path &folder, int input, int output, const ToolRun &run = {},
              int errors = -1);

// Waits for the child; its exit status, or 128 + the signal that ended it.
int WaitForTool(int child);

// The probe tiles of a set, a graphics file in the tool's format: row 0 of
// every tile shows the five colour slots in order, then the tile's item number
// in two base-5 digits, so a picture can be read back cell by cell; the last
// row ends in the set's number, so that tiles of two sets differ.
std::string ProbeTiles(int set = 0);

// A picture painted with the probe tiles of `set` as 22 rows of 40 item
// letters ("PXHW_.rdwMxQcasF" in item order, '?' where a cell shows no such
// tile in the colours of `palette`, the slots as 0xRRGGBB; by default the
// frame's and those of cell (0, 0)), or one line that says why it is no such picture.
std::vector<std::string> ReadGrid(const std::string &picture, int set = 0,
                                  std::vector<int> palette = {});
