// The cave picture: the cave grid painted with the tile set in the cave's
// colours, framed, and written as a 24-bit BMP file.
#include "picture/cave_picture.h"

#include "bdcff/cave_attributes.h"
#include "bdcff/document_walker.h"
#include "bdcff/game_header.h"
#include "bdcff/line_tokens.h"
#include "cave/cave_grid.h"
#include "driver/output_files.h"
#include "driver/output_names.h"
#include "driver/reports.h"
#include "picture/graphics_file.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view CaveInfix = "_Cave_";

constexpr std::size_t FrameSlot = 0;
constexpr std::size_t BackgroundSlot = 1;

constexpr std::size_t Frame = 4;
constexpr std::size_t Columns = GridColumns;
constexpr std::size_t Rows = GridRows;
constexpr std::size_t PictureWidth = Frame + Columns * TileSize + Frame;
constexpr std::size_t PictureHeight = Frame + Rows * TileSize + Frame;
constexpr std::size_t BytesPerPixel = 3;
constexpr std::size_t RowPadding = (4 - PictureWidth * BytesPerPixel % 4) % 4;
constexpr std::size_t RowBytes = PictureWidth * BytesPerPixel + RowPadding;
constexpr std::size_t PixelDataBytes = RowBytes * PictureHeight;
constexpr std::size_t FileHeaderBytes = 14;
constexpr std::size_t InfoHeaderBytes = 40;
constexpr std::size_t HeaderBytes = FileHeaderBytes + InfoHeaderBytes;
constexpr std::size_t FileBytes = HeaderBytes + PixelDataBytes;
static_assert(PictureWidth == 648 && PictureHeight == 360 && FileBytes == 699894);

constexpr std::uint16_t ColourPlanes = 1;
constexpr std::uint16_t BitsPerPixel = 24;
constexpr std::uint32_t NoCompression = 0;
constexpr std::uint32_t PixelsPerMetre = 3780;

using PictureFile = std::array<unsigned char, FileBytes>;

constexpr std::size_t TileRowBytes = TileSize * BytesPerPixel;
using PaintedTile = std::array<unsigned char, TileCharacters * BytesPerPixel>;
using PaintedTiles = std::array<PaintedTile, ItemKinds>;

// Each writer puts its field at `at`, lowest byte first, and moves `at` past it.
void PutByte(unsigned char *&at, unsigned char value) {
  *at++ = value;
}

void PutLittleEndian16(unsigned char *&at, std::uint16_t value) {
  PutByte(at, static_cast<unsigned char>(value & 0xFFU));
  PutByte(at, static_cast<unsigned char>(value >> 8U));
}

void PutLittleEndian32(unsigned char *&at, std::uint32_t value) {
  for (unsigned shift = 0; shift < 32; shift += 8)
    PutByte(at, static_cast<unsigned char>((value >> shift) & 0xFFU));
}

// Both headers, field by field from the start of the file; returns where the
// pixel rows begin.
unsigned char *PutHeader(unsigned char *at) {
  PutByte(at, 'B');
  PutByte(at, 'M');
  PutLittleEndian32(at, FileBytes);
  PutLittleEndian32(at, 0); // reserved
  PutLittleEndian32(at, HeaderBytes);
  PutLittleEndian32(at, InfoHeaderBytes);
  PutLittleEndian32(at, PictureWidth);
  PutLittleEndian32(at, PictureHeight); // positive: the bottom row comes first
  PutLittleEndian16(at, ColourPlanes);
  PutLittleEndian16(at, BitsPerPixel);
  PutLittleEndian32(at, NoCompression);
  PutLittleEndian32(at, PixelDataBytes);
  PutLittleEndian32(at, PixelsPerMetre);
  PutLittleEndian32(at, PixelsPerMetre);
  PutLittleEndian32(at, 0); // colours used
  PutLittleEndian32(at, 0); // important colours
  return at;
}

// Blue, green, red: the low three bytes of 0xRRGGBB, lowest first.
void PutPixel(unsigned char *pixel, std::int32_t color) {
  const auto value = static_cast<std::uint32_t>(color);
  pixel[0] = static_cast<unsigned char>(value & 0xFFU);
  pixel[1] = static_cast<unsigned char>((value >> 8U) & 0xFFU);
  pixel[2] = static_cast<unsigned char>((value >> 16U) & 0xFFU);
}

void PutPixels(unsigned char *first, std::size_t count, std::int32_t color) {
  for (std::size_t pixel = 0; pixel < count; ++pixel)
    PutPixel(first + pixel * BytesPerPixel, color);
}

std::size_t SlotOfDigit(char digit) {
  if (digit < '0' || digit >= static_cast<char>('0' + PaletteSlots)) return BackgroundSlot;
  return static_cast<std::size_t>(digit - '0');
}

// Every tile in the cave's colours, so that painting a cell copies bytes only.
PaintedTiles PaintTiles(const Palette &palette) {
  PaintedTiles painted{};
  for (std::size_t item = 0; item < painted.size(); ++item) {
    const std::string &tile = TileSet[item];
    for (std::size_t index = 0; index < TileCharacters; ++index) {
      const std::size_t slot = index < tile.size() ? SlotOfDigit(tile[index]) : BackgroundSlot;
      PutPixel(painted[item].data() + index * BytesPerPixel, palette[slot]);
    }
  }
  return painted;
}

// Every cell holds one of the sixteen item codes: the readers put Empty Space
// in place of an unknown word before a cell is set.
const PaintedTile &TileOfCell(const PaintedTiles &painted, ItemCode item) {
  return painted[static_cast<std::size_t>(item)];
}

// One pixel row, y counting from the top of the picture.
void PaintRow(unsigned char *row, std::size_t y, const PaintedTiles &painted, std::int32_t frame) {
  if (y < Frame || y >= PictureHeight - Frame) {
    PutPixels(row, PictureWidth, frame);
    return;
  }
  const std::size_t v = y - Frame;
  const auto &cells = CaveGrid[v / TileSize];
  const std::size_t tileRowOffset = (v % TileSize) * TileRowBytes;
  PutPixels(row, Frame, frame);
  unsigned char *cellStart = row + Frame * BytesPerPixel;
  for (ItemCode item : cells) {
    std::memcpy(cellStart, TileOfCell(painted, item).data() + tileRowOffset, TileRowBytes);
    cellStart += TileRowBytes;
  }
  PutPixels(cellStart, Frame, frame);
}

// One picture's bytes, kept for the whole run: its pages are touched once
// however many caves follow.
PictureFile PictureBytes;

// The whole file: headers, then the rows painted from the cave grid.
void PaintPicture(PictureFile &bytes) {
  unsigned char *const pixels = PutHeader(bytes.data());
  const PaintedTiles painted = PaintTiles(CaveRecord.CavePalette);
  const std::int32_t frame = CaveRecord.CavePalette[FrameSlot];
  static_assert(RowPadding == 0, "every byte of a row is painted");
  // Rows are stored bottom-up: the file's first row is the picture's last.
  for (std::size_t y = 0; y < PictureHeight; ++y)
    PaintRow(pixels + (PictureHeight - 1 - y) * RowBytes, y, painted, frame);
}

// Writes the finished bytes in a single write from the start of the file,
// which the file system stores in the fewest pieces. False when the file
// cannot be created or written completely; the old picture then stands.
bool WritePictureFile(const std::string &name, const PictureFile &bytes) {
  OutputFile file;
  if (!OpenOutput(file, name)) return false;
  std::setvbuf(file.Stream, nullptr, _IONBF, 0); // the picture is written whole, no copy needed
  std::fwrite(bytes.data(), 1, FileBytes, file.Stream); // a short write sets the error flag
  return CommitOutput(file);
}

} // namespace

std::string PictureFileNameOf(std::int32_t number) {
  return GameRecord.Name + std::string(CaveInfix) + TwoDigitText(number) +
         std::string(PictureSuffix);
}

void WriteCavePicture() {
  CaveRecord.PictureFileName = PictureFileNameOf(CaveCount + 1);
  if (!NamesFileHere(GameRecord.Name)) ReportError(Error::PictureCreationFailed);
  PaintPicture(PictureBytes);
  if (!WritePictureFile(CaveRecord.PictureFileName, PictureBytes))
    ReportError(Error::PictureCreationFailed);
}
