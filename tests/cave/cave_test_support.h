// Shared helpers for tests that build a cave: an input file made from a text,
// a fresh cave record and grid, and the grid drawn as map characters.
#pragma once

#include "cave/cave_grid.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Fills every cell with this code before a test, so a cell that a build
// forgets to write shows as '#'.
inline constexpr ItemCode UnwrittenCell = -1;

// Puts the text into a temporary file and opens it as the InputFile. The
// file's name is removed at once; the open file stays readable.
void OpenInputText(const std::string &text);

// The character for each item, as a map section writes it; '#' for UnwrittenCell.
char ItemChar(ItemCode item);

// The rows firstRow.. of the grid, `rows` of them, each cut to the columns
// firstColumn.. (`columns` of them), one character per cell.
std::vector<std::string> GridPicture(int firstRow, int rows, int firstColumn, int columns);

// The whole grid, 22 rows of 40 characters.
std::vector<std::string> WholeGrid();

// How often the piece stands in the text.
int CountOf(const std::string &text, const std::string &piece);

// Standard output captured while the action runs.
std::string OutputOf(const std::function<void()> &action);

// Sends standard output to standard error, so that a death test's pattern
// sees the error report, then runs the action.
void RunWithOutputOnStderr(const std::function<void()> &action);

// A fresh cave record (an objects cave with no random fill, InitialFill "DIRT"
// and seed 0) and a grid of UnwrittenCell.
class CaveTest : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
};
