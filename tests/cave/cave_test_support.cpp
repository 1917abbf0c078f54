// Shared helpers for tests that build a cave.
#include "cave/cave_test_support.h"

#include "bdcff/cave_attributes.h"
#include "driver/console_dialog.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace {

// One character per item, in ItemCode order.
constexpr std::string_view ItemChars = "PXHW .rdwMxQcasF";
static_assert(ItemChars.size() == ItemKinds);

} // namespace

void OpenInputText(const std::string &text) {
  char name[] = "/tmp/cave_test_XXXXXX";
  const int descriptor = mkstemp(name);
  ASSERT_NE(descriptor, -1);
  const auto written = write(descriptor, text.data(), text.size());
  ASSERT_EQ(close(descriptor), 0);
  ASSERT_EQ(written, static_cast<ssize_t>(text.size()));
  const bool opened = OpenTextLines(InputFile, name);
  unlink(name);
  ASSERT_TRUE(opened);
}

char ItemChar(ItemCode item) {
  if (item < 0 || item >= ItemKinds) return '#';
  return ItemChars[static_cast<std::size_t>(item)];
}

std::vector<std::string> GridPicture(int firstRow, int rows, int firstColumn, int columns) {
  std::vector<std::string> picture;
  for (int row = firstRow; row < firstRow + rows; ++row) {
    std::string line;
    for (int column = firstColumn; column < firstColumn + columns; ++column)
      line.push_back(
          ItemChar(CaveGrid[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]));
    picture.push_back(line);
  }
  return picture;
}

std::vector<std::string> WholeGrid() {
  return GridPicture(0, GridRows, 0, GridColumns);
}

int CountOf(const std::string &text, const std::string &piece) {
  int count = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos;
       at = text.find(piece, at + piece.size()))
    ++count;
  return count;
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

void CaveTest::SetUp() {
  ResetCaveRecord();
  CaveRecord.HasMap = false;
  CaveRecord.RandSeed = 0;
  for (auto &row : CaveGrid) row.fill(UnwrittenCell);
}

void CaveTest::TearDown() {
  CloseTextLines(InputFile);
}
