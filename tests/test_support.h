// Helpers shared by the unit tests: scratch folders, whole files, forked
// children, death-test patterns, and the cave grid drawn as map characters.
#pragma once

#include "cave/cave_grid.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

// A new empty folder under the system's temporary folder, removed with all it
// holds at the end of the scope. With `enter` the process works inside it for
// that time. A death test's child runs its test anew in a process of its own:
// a folder made there while an owning one is alive is that same folder, so
// that both processes see the same files, and the child removes nothing.
class ScratchFolder {
public:
  explicit ScratchFolder(bool enter = false);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder &) = delete;
  ScratchFolder &operator=(const ScratchFolder &) = delete;

  const std::filesystem::path &Path() const { return path_; }

  // Writes the bytes into the named file of the folder; returns its path.
  std::filesystem::path Write(const std::string &name, const std::string &bytes) const;

private:
  std::filesystem::path path_;
  std::optional<std::filesystem::path> previous_;
  bool owner_ = true;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path &path);
void WriteWholeFile(const std::filesystem::path &path, const std::string &bytes);

// Standard output captured while the action runs.
std::string OutputOf(const std::function<void()> &action);

// Sends standard output to standard error, where a death test looks for its
// messages, then runs the action.
void RunWithOutputOnStderr(const std::function<void()> &action);

// A regular expression that matches exactly `text`, start to end.
std::string ExactRegex(const std::string &text);

// What an error report prints: "Error: ", the text, the request to press ENTER.
std::string ErrorReport(const std::string &text);

// Expects `statement` to end the process with status 1 after printing
// exactly `transcript`.
#define EXPECT_TRANSCRIPT_AND_EXIT(statement, transcript)                                          \
  EXPECT_EXIT(RunWithOutputOnStderr([&] { statement; }), testing::ExitedWithCode(1),               \
              ExactRegex(transcript))

// Expects `statement` to report the error `text` and end with status 1.
#define EXPECT_REPORTS_ERROR(statement, text)                                                      \
  EXPECT_EXIT(RunWithOutputOnStderr([&] { statement; }), testing::ExitedWithCode(1),               \
              testing::HasSubstr(ErrorReport(text)))

// Limits the files this process writes to `bytes`; a write past the limit
// fails instead of ending the process with SIGXFSZ.
void LimitFileSize(std::uint64_t bytes);

struct ChildOutcome {
  int exitStatus = -1; // 128 + signal number when a signal ended the child
  std::string output;  // what the child wrote to standard output
};

// Runs `body` in a forked child in the current folder, its files limited to
// `fileSizeLimit` bytes if one is given. A body that returns ends with 99.
ChildOutcome RunInChild(const std::function<void()> &body,
                        std::optional<std::uint64_t> fileSizeLimit = std::nullopt);

// Puts the text into a temporary file and opens it as the InputFile.
void OpenInputText(const std::string &text);

// The text with its ASCII capitals in lower case.
std::string LowerCase(std::string text);

// How often the piece stands in the text.
int CountOf(const std::string &text, const std::string &piece);

// Fills every cell with this code before a cave test, so a cell that a build
// forgets to write shows as '#'.
inline constexpr ItemCode UnwrittenCell = -1;

// The character for each item, as a map section writes it; '#' for UnwrittenCell.
char ItemChar(ItemCode item);

using Picture = std::vector<std::string>;

// `rows` rows of the grid from firstRow, each cut to `columns` cells from
// firstColumn, one character per cell.
Picture GridPicture(int firstRow, int rows, int firstColumn, int columns);
Picture WholeGrid();

// A fresh cave record (an objects cave with no random fill, InitialFill
// "DIRT" and seed 0) and a grid of UnwrittenCell.
class CaveTest : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
};

// A fresh current folder per test for the HTML document's units, with the
// process-wide records set back to their start values.
class HtmlTest : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

private:
  ScratchFolder folder_{true};
};

// A structure file whose preamble holds the usual eight "#".
std::string StructureFile(const std::string &head, const std::string &entry,
                          const std::string &tail);

// Console texts of an end-to-end run whose dialog is the harness's DialogText:
// up to the start of the walk, up to the first cave of the named game, and
// the progress lines of caves first..last.
std::string WalkStartText();
std::string GameStartText(const std::string &name);
std::string CaveProgressLines(int first, int last);
