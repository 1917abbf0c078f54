// The objects section: points, lines, rectangles, rasters and additions.
//
// Coordinates come from unsigned digit strings and may be far outside the
// grid. They are worked out in 64 bits, so a step never wraps back into the
// grid, and each object visits only the cells it can set inside the grid: a
// cell outside is skipped (not written, its name not translated) and the rest
// of the object is drawn.
#include "bdcff/objects_section.h"

#include "bdcff/key_lines.h"
#include "bdcff/line_tokens.h"
#include "cave/cave_builder.h"
#include "cave/cave_grid.h"
#include "driver/console_dialog.h"
#include "driver/reports.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

namespace {

using Coordinate = std::int64_t;

Coordinate Sign(Coordinate value) {
  return (value > 0) - (value < 0);
}

// The name is translated again for every cell drawn, so an unknown name warns
// once per cell; a cell outside the grid is neither translated nor written.
void DrawCell(std::string_view name, Coordinate row, Coordinate column) {
  if (!IsInsideGrid(row, column)) return;
  SetCell(ItemCodeFromName(name), static_cast<std::int32_t>(row),
          static_cast<std::int32_t>(column));
}

// The steps t of 0..count-1 at which start + t*step (step 1, 0 or -1) lies in
// 0..limit-1, as an inclusive range that is empty when first > last.
struct StepRange {
  Coordinate first;
  Coordinate last;
};

StepRange StepsInside(Coordinate start, Coordinate step, Coordinate count, Coordinate limit) {
  if (step == 0) return start >= 0 && start < limit ? StepRange{0, count - 1} : StepRange{0, -1};
  if (step > 0) return {std::max<Coordinate>(0, -start), std::min(count - 1, limit - 1 - start)};
  return {std::max<Coordinate>(0, start - (limit - 1)), std::min(count - 1, start)};
}

void DrawPoint(std::string_view arguments) {
  std::size_t position = 0;
  const Coordinate x = ReadMidNumber(arguments, position);
  const Coordinate y = ReadMidNumber(arguments, position);
  DrawCell(ReadRestWord(arguments, position), y, x);
}

// Horizontal, vertical and 45-degree lines in all eight directions, both ends
// included; a line from a point to itself sets that point.
void DrawLine(std::string_view arguments) {
  std::size_t position = 0;
  const Coordinate x1 = ReadMidNumber(arguments, position);
  const Coordinate y1 = ReadMidNumber(arguments, position);
  const Coordinate x2 = ReadMidNumber(arguments, position);
  const Coordinate y2 = ReadMidNumber(arguments, position);
  const std::string name = ReadRestWord(arguments, position);
  const Coordinate width = x2 > x1 ? x2 - x1 : x1 - x2;
  const Coordinate height = y2 > y1 ? y2 - y1 : y1 - y2;
  if (width != 0 && height != 0 && width != height) ReportError(Error::ImpossibleLine);

  // Each cell of the line lies one step further along both directions.
  const Coordinate cells = std::max(width, height) + 1;
  const Coordinate stepAcross = Sign(x2 - x1);
  const Coordinate stepDown = Sign(y2 - y1);
  const StepRange across = StepsInside(x1, stepAcross, cells, GridColumns);
  const StepRange down = StepsInside(y1, stepDown, cells, GridRows);
  const Coordinate last = std::min(across.last, down.last);
  for (Coordinate step = std::max(across.first, down.first); step <= last; ++step)
    DrawCell(name, y1 + step * stepDown, x1 + step * stepAcross);
}

struct Corners {
  Coordinate left;
  Coordinate top;
  Coordinate right;
  Coordinate bottom;
};

Corners ReadCorners(std::string_view arguments, std::size_t &position) {
  Corners corners{};
  corners.left = ReadMidNumber(arguments, position);
  corners.top = ReadMidNumber(arguments, position);
  corners.right = ReadMidNumber(arguments, position);
  corners.bottom = ReadMidNumber(arguments, position);
  return corners;
}

bool CornersReversed(const Corners &corners) {
  return corners.left > corners.right || corners.top > corners.bottom;
}

// Columns in the outer loop, rows in the inner one. The outline gets its own
// name; the cells inside get `inside`, or stay as they are without one. An
// empty name is drawn like any other name: as an unknown item.
void DrawBox(const Corners &box, std::string_view outline, std::optional<std::string_view> inside) {
  const Coordinate lastColumn = std::min<Coordinate>(box.right, GridColumns - 1);
  const Coordinate lastRow = std::min<Coordinate>(box.bottom, GridRows - 1);
  for (Coordinate column = std::max<Coordinate>(box.left, 0); column <= lastColumn; ++column) {
    for (Coordinate row = std::max<Coordinate>(box.top, 0); row <= lastRow; ++row) {
      const bool onOutline =
          column == box.left || column == box.right || row == box.top || row == box.bottom;
      if (onOutline)
        DrawCell(outline, row, column);
      else if (inside)
        DrawCell(*inside, row, column);
    }
  }
}

void DrawRectangle(std::string_view arguments) {
  std::size_t position = 0;
  const Corners box = ReadCorners(arguments, position);
  const std::string name = ReadRestWord(arguments, position);
  if (CornersReversed(box)) ReportError(Error::RectangleCorners);
  DrawBox(box, name, std::nullopt);
}

void DrawFillRect(std::string_view arguments) {
  std::size_t position = 0;
  const Corners box = ReadCorners(arguments, position);
  const std::string name = ReadWord(arguments, position);
  const std::string fill = ReadRestWord(arguments, position);
  if (CornersReversed(box)) ReportError(Error::FillRectCorners);
  // Without a fill name the inside takes the item, even an empty item name.
  DrawBox(box, name, fill.empty() ? name : fill);
}

// A repeat beyond the grid's width or height can only land outside the grid
// or, with a step of 0, on a cell already drawn; so at most 40 repeats across
// and 22 down are made, however large the counts.
void DrawRaster(std::string_view arguments) {
  std::size_t position = 0;
  const Coordinate x = ReadMidNumber(arguments, position);
  const Coordinate y = ReadMidNumber(arguments, position);
  const Coordinate countAcross =
      std::min<Coordinate>(ReadMidNumber(arguments, position), GridColumns);
  const Coordinate countDown = std::min<Coordinate>(ReadMidNumber(arguments, position), GridRows);
  const Coordinate stepAcross = ReadMidNumber(arguments, position);
  const Coordinate stepDown = ReadMidNumber(arguments, position);
  const std::string name = ReadRestWord(arguments, position);
  for (Coordinate i = 0; i < countAcross; ++i)
    for (Coordinate j = 0; j < countDown; ++j) DrawCell(name, y + j * stepDown, x + i * stepAcross);
}

// Puts the add item at the offset from every cell holding the find item. The
// scan reads the grid while it changes it, so with add equal to find the
// copies are copied again and the item spreads up to the cave's border.
void DrawAdd(std::string_view arguments) {
  std::size_t position = 0;
  const Coordinate offsetAcross = ReadMidNumber(arguments, position);
  const Coordinate offsetDown = ReadMidNumber(arguments, position);
  const std::string findName = ReadMidWord(arguments, position);
  const std::string addName = ReadRestWord(arguments, position);
  for (std::int32_t row = 1; row < GridRows; ++row) {
    for (std::int32_t column = 1; column < GridColumns; ++column) {
      const ItemCode find = ItemCodeFromName(findName); // once for every scanned cell
      const Coordinate targetRow = row + offsetDown;
      const Coordinate targetColumn = column + offsetAcross;
      const ItemCode found =
          CaveGrid[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
      if (found == find && IsInsideCaveBorder(targetRow, targetColumn))
        DrawCell(addName, targetRow, targetColumn);
    }
  }
}

// Tested in this order; the keyword must open the line, and what follows it
// is the object's arguments. A line of no known kind is skipped silently.
constexpr KeyHandler ObjectKinds[] = {
    {{"Point=", "point="}, DrawPoint},
    {{"Line=", "line="}, DrawLine},
    {{"Rectangle=", "rectangle="}, DrawRectangle},
    {{"FillRect=", "fillrect="}, DrawFillRect},
    {{"Raster=", "raster="}, DrawRaster},
    {{"Add=", "add="}, DrawAdd},
};

} // namespace

void ReadObjectsSection() {
  while (const auto line = LineBeforeTag(InputFile, ObjectsEndTag, Error::ObjectsEndTagNotFound))
    ApplyKeyLine(*line, ObjectKinds);
}
