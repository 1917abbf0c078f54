// Helpers shared by the unit tests.
#include "test_support.h"

#include "bdcff/cave_attributes.h"
#include "bdcff/line_tokens.h"
#include "driver/console_dialog.h"
#include "driver/run_sequence.h"
#include "e2e/harness.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Where a death test's child finds the folder of its parent.
constexpr const char *SharedFolderVariable = "GROTTOPRINT_TEST_SCRATCH";

// One character per item, in ItemCode order.
constexpr std::string_view ItemChars = "PXHW .rdwMxQcasF";
static_assert(ItemChars.size() == ItemKinds);

} // namespace

ScratchFolder::ScratchFolder(bool enter) {
  if (const char *shared = std::getenv(SharedFolderVariable); shared != nullptr) {
    path_ = shared;
    owner_ = false;
  } else {
    std::string pattern = (fs::temp_directory_path() / "grottoprint-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    setenv(SharedFolderVariable, pattern.c_str(), 1);
  }
  if (!enter) return;
  previous_ = fs::current_path();
  fs::current_path(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  if (previous_) fs::current_path(*previous_, ignored);
  if (!owner_) return;
  unsetenv(SharedFolderVariable);
  fs::remove_all(path_, ignored);
}

fs::path ScratchFolder::Write(const std::string &name, const std::string &bytes) const {
  const fs::path path = path_ / name;
  WriteWholeFile(path, bytes);
  return path;
}

std::string ReadWholeFile(const fs::path &path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const fs::path &path, const std::string &bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  EXPECT_TRUE(file.good()) << path;
}

std::string OutputOf(const std::function<void()> &action) {
  testing::internal::CaptureStdout();
  action();
  return testing::internal::GetCapturedStdout();
}

void RunWithOutputOnStderr(const std::function<void()> &action) {
  std::fflush(stdout);
  if (dup2(STDERR_FILENO, STDOUT_FILENO) == -1) std::abort();
  action();
}

std::string ExactRegex(const std::string &text) {
  constexpr std::string_view Special = ".[]()*+?{}|^$\\";
  std::string pattern = "^";
  for (const char c : text) {
    if (Special.find(c) != std::string_view::npos) pattern += '\\';
    pattern += c;
  }
  return pattern + "$";
}

std::string ErrorReport(const std::string &text) {
  return "Error: " + text + "\nPress ENTER to exit.\n";
}

void LimitFileSize(std::uint64_t bytes) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(98);
}

ChildOutcome RunInChild(const std::function<void()> &body,
                        std::optional<std::uint64_t> fileSizeLimit) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
  std::fflush(nullptr); // else both processes would write what is buffered
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    close(pipeFds[0]);
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[1]);
    if (fileSizeLimit) LimitFileSize(*fileSizeLimit);
    body();
    std::fflush(stdout);
    _exit(99);
  }
  close(pipeFds[1]);
  ChildOutcome outcome;
  char chunk[4096];
  for (ssize_t got; (got = read(pipeFds[0], chunk, sizeof chunk)) > 0;)
    outcome.output.append(chunk, static_cast<std::size_t>(got));
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) outcome.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) outcome.exitStatus = 128 + WTERMSIG(status);
  return outcome;
}

void OpenInputText(const std::string &text) {
  // The open file stays readable after its folder is removed.
  const ScratchFolder folder;
  ASSERT_TRUE(OpenTextLines(InputFile, folder.Write("input.bd", text).string()));
}

std::string LowerCase(std::string text) {
  for (char &c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

int CountOf(const std::string &text, const std::string &piece) {
  int count = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos;
       at = text.find(piece, at + piece.size()))
    ++count;
  return count;
}

char ItemChar(ItemCode item) {
  if (item < 0 || item >= ItemKinds) return '#';
  return ItemChars[static_cast<std::size_t>(item)];
}

Picture GridPicture(int firstRow, int rows, int firstColumn, int columns) {
  Picture picture;
  for (int row = firstRow; row < firstRow + rows; ++row) {
    std::string line;
    for (int column = firstColumn; column < firstColumn + columns; ++column)
      line.push_back(
          ItemChar(CaveGrid[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]));
    picture.push_back(line);
  }
  return picture;
}

Picture WholeGrid() {
  return GridPicture(0, GridRows, 0, GridColumns);
}

void CaveTest::SetUp() {
  ResetProcessState();
  ResetCaveRecord();
  for (auto &row : CaveGrid) row.fill(UnwrittenCell);
}

void CaveTest::TearDown() {
  ResetProcessState();
}

void HtmlTest::SetUp() {
  ResetProcessState();
  PictureExtension = "bmp";
}

void HtmlTest::TearDown() {
  ResetProcessState();
}

std::string StructureFile(const std::string &head, const std::string &entry,
                          const std::string &tail) {
  return "Markers: #HTML-begin# #Caves-begin# #Caves-end# #HTML-end#\n#HTML-begin#" + head +
         "#Caves-begin#" + entry + "#Caves-end#" + tail + "#HTML-end#";
}

std::string WalkStartText() {
  return DialogText + "Reading graphics file...\nReading input file...\n";
}

std::string GameStartText(const std::string &name) {
  return WalkStartText() + "Name of BD game: " + name + ".\nReading HTML structure file...\n";
}

std::string CaveProgressLines(int first, int last) {
  std::string lines;
  for (int cave = first; cave <= last; ++cave)
    lines += "Processing cave " + TwoDigitText(cave) + "...\n";
  return lines;
}
