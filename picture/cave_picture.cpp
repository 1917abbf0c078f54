// The cave picture: the cave grid painted with the tile set in the cave's
// colours, framed, and written as a 24-bit BMP file.
#include "picture/cave_picture.h"

#include "bdcff/cave_attributes.h"
#include "bdcff/document_walker.h"
#include "bdcff/game_header.h"
#include "bdcff/line_tokens.h"
#include "cave/cave_grid.h"
#include "driver/output_names.h"
#include "driver/reports.h"
#include "picture/graphics_file.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view CaveInfix = "_Cave_";

constexpr std::size_t FrameSlot = 0;
constexpr std::size_t BackgroundSlot = 1;
constexpr ItemCode SubstituteItem = Items::EmptySpace;

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

using Bytes = std::vector<unsigned char>;

constexpr std::size_t TileRowBytes = TileSize * BytesPerPixel;
using PaintedTile = std::array<unsigned char, TileCharacters * BytesPerPixel>;
using PaintedTiles = std::array<PaintedTile, ItemKinds>;

void PutLittleEndian16(Bytes &bytes, std::uint16_t value) {
  bytes.push_back(static_cast<unsigned char>(value & 0xFFU));
  bytes.push_back(static_cast<unsigned char>(value >> 8U));
}

void PutLittleEndian32(Bytes &bytes, std::uint32_t value) {
  for (unsigned shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<unsigned char>((value >> shift) & 0xFFU));
}

void PutHeader(Bytes &bytes) {
  bytes.push_back('B');
  bytes.push_back('M');
  PutLittleEndian32(bytes, FileBytes);
  PutLittleEndian32(bytes, 0); // reserved
  PutLittleEndian32(bytes, HeaderBytes);
  PutLittleEndian32(bytes, InfoHeaderBytes);
  PutLittleEndian32(bytes, PictureWidth);
  PutLittleEndian32(bytes, PictureHeight); // positive: the bottom row comes first
  PutLittleEndian16(bytes, ColourPlanes);
  PutLittleEndian16(bytes, BitsPerPixel);
  PutLittleEndian32(bytes, NoCompression);
  PutLittleEndian32(bytes, PixelDataBytes);
  PutLittleEndian32(bytes, PixelsPerMetre);
  PutLittleEndian32(bytes, PixelsPerMetre);
  PutLittleEndian32(bytes, 0); // colours used
  PutLittleEndian32(bytes, 0); // important colours
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

const PaintedTile &TileOfCell(const PaintedTiles &painted, ItemCode item) {
  const bool known = item >= 0 && item < ItemKinds;
  return painted[static_cast<std::size_t>(known ? item : SubstituteItem)];
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
// however many caves follow, and each picture leaves in a single write from
// the start of the file, which the file system stores in the fewest pieces.
std::array<unsigned char, FileBytes> PictureBytes;

void PaintPicture() {
  Bytes header;
  PutHeader(header);
  std::memcpy(PictureBytes.data(), header.data(), HeaderBytes);
  const PaintedTiles painted = PaintTiles(CaveRecord.CavePalette);
  const std::int32_t frame = CaveRecord.CavePalette[FrameSlot];
  static_assert(RowPadding == 0, "every byte of a row is painted");
  // Rows are stored bottom-up: the file's first row is the picture's last.
  for (std::size_t y = 0; y < PictureHeight; ++y)
    PaintRow(PictureBytes.data() + HeaderBytes + (PictureHeight - 1 - y) * RowBytes, y, painted,
             frame);
}

// False when the file cannot be created or written completely; an incomplete
// file is removed rather than left behind as a broken picture.
bool WritePictureFile(const std::string &name) {
  std::FILE *file = std::fopen(name.c_str(), "wb");
  if (file == nullptr) return false;
  std::setvbuf(file, nullptr, _IONBF, 0); // the picture is written whole, no copy needed
  PaintPicture();
  const bool written = std::fwrite(PictureBytes.data(), 1, FileBytes, file) == FileBytes;
  const bool closed = std::fclose(file) == 0;
  if (written && closed) return true;
  std::remove(name.c_str());
  return false;
}

} // namespace

void WriteCavePicture() {
  CaveRecord.PictureFileName = GameRecord.Name + std::string(CaveInfix) +
                               TwoDigitText(CaveCount + 1) + std::string(PictureSuffix);
  if (!NamesFileHere(GameRecord.Name)) ReportError(Error::PictureCreationFailed);
  if (!WritePictureFile(CaveRecord.PictureFileName)) ReportError(Error::PictureCreationFailed);
}
