// Painting the cave grid and writing it as a BMP picture.
#include "bdcff/cave_attributes.h"
#include "bdcff/document_walker.h"
#include "bdcff/game_header.h"
#include "picture/cave_colors.h"
#include "picture/cave_picture.h"
#include "picture/graphics_file.h"
#include "test_support.h"

#include <climits>
#include <set>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t Width = 648;
constexpr std::size_t Height = 360;
constexpr std::size_t RowBytes = Width * 3;
constexpr std::size_t FileSize = 699894;

// Red and blue differ in every slot, so swapped channels show.
constexpr Palette DistinctPalette = {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0};

// The 54 header bytes every picture starts with, little-endian field by field.
const std::string ExpectedHeader("BM"
                                 "\xF6\xAD\x0A\x00" // file size 699894
                                 "\x00\x00\x00\x00" // reserved
                                 "\x36\x00\x00\x00" // pixel data at 54
                                 "\x28\x00\x00\x00" // information header of 40 bytes
                                 "\x88\x02\x00\x00" // width 648
                                 "\x68\x01\x00\x00" // height 360, bottom row first
                                 "\x01\x00"         // one plane
                                 "\x18\x00"         // 24 bits per pixel
                                 "\x00\x00\x00\x00" // no compression
                                 "\xC0\xAD\x0A\x00" // 699840 bytes of pixels
                                 "\xC4\x0E\x00\x00" // 3780 pixels per metre
                                 "\xC4\x0E\x00\x00"
                                 "\x00\x00\x00\x00"  // colours used
                                 "\x00\x00\x00\x00", // important colours
                                 54);

// An "F" with a different digit in each corner: no symmetry at all.
const std::string FTile = "4111111111111113"
                          "1222222222221111"
                          "1211111111111111"
                          "1211111111111111"
                          "1222222221111111"
                          "1211111111111111"
                          "1211111111111111"
                          "1211111111111111"
                          "1211111111111111"
                          "1211111111111111"
                          "1211111111111111"
                          "1211111111111111"
                          "1211111111111111"
                          "1211111111111111"
                          "1111111111111111"
                          "2111111111111110";

// Tile k: a pattern of all five digits that differs from tile to tile.
std::string PatternTile(std::size_t item) {
  std::string tile;
  for (std::size_t row = 0; row < 16; ++row)
    for (std::size_t column = 0; column < 16; ++column)
      tile += static_cast<char>('0' + (item * 3 + row * 7 + column * column + item / 5) % 5);
  return tile;
}

void PrepareCave() {
  GameRecord = {};
  GameRecord.Name = "Mine";
  CaveCount = 0;
  CaveRecord = {};
  CaveRecord.CavePalette = DistinctPalette;
  for (std::size_t item = 0; item < TileSet.size(); ++item) TileSet[item] = PatternTile(item);
  for (auto &row : CaveGrid) row.fill(Items::Dirt);
}

// Picture pixel (x, y), y counting from the top: rows are stored bottom-up.
std::size_t PixelOffset(std::size_t x, std::size_t y) {
  return 54 + 3 * ((Height - 1 - y) * Width + x);
}

std::string Bgr(std::int32_t color) {
  return {static_cast<char>(color & 0xFF), static_cast<char>((color >> 8) & 0xFF),
          static_cast<char>((color >> 16) & 0xFF)};
}

std::string PixelAt(const std::string &picture, std::size_t x, std::size_t y) {
  return picture.substr(PixelOffset(x, y), 3);
}

std::string SlotColor(char digit) {
  return Bgr(CaveRecord.CavePalette[static_cast<std::size_t>(digit - '0')]);
}

std::string WritePicture() {
  WriteCavePicture();
  return ReadWholeFile(CaveRecord.PictureFileName);
}

// The picture painted one pixel at a time straight from the grid, the tiles
// and the palette: the model the fast painter has to match.
std::string ModelPicture() {
  std::string picture = ExpectedHeader + std::string(Height * RowBytes, '\0');
  const Palette &palette = CaveRecord.CavePalette;
  for (std::size_t y = 0; y < Height; ++y)
    for (std::size_t x = 0; x < Width; ++x) {
      std::int32_t color = palette[0];
      if (x >= 4 && x < Width - 4 && y >= 4 && y < Height - 4) {
        const std::size_t u = x - 4, v = y - 4;
        ItemCode item = CaveGrid[v / 16][u / 16];
        if (item < 0 || item > 15) item = Items::EmptySpace;
        const std::string &tile = TileSet[static_cast<std::size_t>(item)];
        const std::size_t index = 16 * (v % 16) + u % 16;
        const char digit = index < tile.size() ? tile[index] : '1';
        color = palette[digit >= '0' && digit <= '4' ? static_cast<std::size_t>(digit - '0') : 1];
      }
      picture.replace(PixelOffset(x, y), 3, Bgr(color));
    }
  return picture;
}

// The offset of the first byte that differs, or the shorter length.
std::size_t FirstDifference(const std::string &a, const std::string &b) {
  std::size_t offset = 0;
  while (offset < a.size() && offset < b.size() && a[offset] == b[offset]) ++offset;
  return offset;
}

void ExpectPictureMatchesModel(const std::string &picture) {
  const std::string model = ModelPicture();
  ASSERT_EQ(picture.size(), model.size());
  EXPECT_EQ(FirstDifference(picture, model), model.size()) << "first differing byte";
}

TEST(WriteCavePicture, HeaderFieldsAndSize) {
  const ScratchFolder folder(true);
  PrepareCave();
  const std::string picture = WritePicture();
  EXPECT_EQ(CaveRecord.PictureFileName, "Mine_Cave_01.bmp");
  ASSERT_EQ(picture.size(), FileSize);
  EXPECT_EQ(picture.substr(0, 54), ExpectedHeader);
}

// Checked pixel by pixel against the tile, without the model: the frame is
// slot 0, each digit paints its own slot, blue comes first, and the F stands
// upright and unmirrored in the first and the last cell.
TEST(WriteCavePicture, FrameDigitsAndTilesAtTheirPlaces) {
  const ScratchFolder folder(true);
  PrepareCave();
  TileSet[Items::Boulder] = FTile;
  CaveGrid[0][0] = Items::Boulder;
  CaveGrid[21][39] = Items::Boulder;
  TileSet[Items::Dirt] = "01234" + std::string(251, '1');
  CaveGrid[0][1] = Items::Dirt;
  const std::string picture = WritePicture();
  ASSERT_EQ(picture.size(), FileSize);
  const std::string frame = "\x30\x20\x10";
  std::string frameRow;
  for (std::size_t x = 0; x < Width; ++x) frameRow += frame;
  EXPECT_EQ(picture.substr(54, RowBytes * 4), frameRow + frameRow + frameRow + frameRow);
  EXPECT_EQ(picture.substr(FileSize - RowBytes), frameRow) << "top frame row";
  for (std::size_t y = 4; y < Height - 4; y += 50)
    for (std::size_t x : {0U, 3U, 644U, 647U})
      EXPECT_EQ(PixelAt(picture, x, y), frame) << "frame column " << x << " row " << y;
  const char *const slots[] = {"\x30\x20\x10", "\x60\x50\x40", "\x90\x80\x70", "\xC0\xB0\xA0",
                               "\xF0\xE0\xD0"};
  for (std::size_t digit = 0; digit < 5; ++digit)
    EXPECT_EQ(PixelAt(picture, 20 + digit, 4), std::string(slots[digit], 3)) << "digit " << digit;
  for (std::size_t cell : {0U, 1U})
    for (std::size_t row = 0; row < 16; ++row)
      for (std::size_t column = 0; column < 16; ++column)
        EXPECT_EQ(PixelAt(picture, 4 + cell * 39 * 16 + column, 4 + cell * 21 * 16 + row),
                  SlotColor(FTile[row * 16 + column]))
            << "cell " << cell << ", tile row " << row << ", column " << column;
  // The corners of the F in cell (0, 0), by their file offsets.
  EXPECT_EQ(picture.substr(54 + 3 * (355 * 648 + 4), 3), slots[4]);  // top left
  EXPECT_EQ(picture.substr(54 + 3 * (355 * 648 + 19), 3), slots[3]); // top right
  EXPECT_EQ(picture.substr(54 + 3 * (340 * 648 + 4), 3), slots[2]);  // bottom left
  EXPECT_EQ(picture.substr(54 + 3 * (340 * 648 + 19), 3), slots[0]); // bottom right
}

TEST(WriteCavePicture, WholeGridMatchesPixelByPixelPainting) {
  const ScratchFolder folder(true);
  PrepareCave();
  for (std::size_t row = 0; row < 22; ++row)
    for (std::size_t column = 0; column < 40; ++column)
      CaveGrid[row][column] = static_cast<ItemCode>((row * 5 + column * 3 + row * column) % 16);
  TileSet[Items::Boulder] = FTile;
  ExpectPictureMatchesModel(WritePicture());
}

TEST(WriteCavePicture, ThreeNamePaletteFramesInBlack) {
  // "Colors=Orange Gray1 White" leaves slots 0 and 1 black.
  const ScratchFolder folder(true);
  PrepareCave();
  CaveRecord.CavePalette = {0x000000, 0x000000, ColorFromName("Orange"), ColorFromName("Gray1"),
                            ColorFromName("White")};
  for (auto &row : CaveGrid) row.fill(Items::EmptySpace);
  TileSet[Items::EmptySpace] = FTile;
  const std::string picture = WritePicture();
  ASSERT_EQ(picture.size(), FileSize);
  EXPECT_EQ(picture.substr(54, 4 * RowBytes), std::string(4 * RowBytes, '\0'));
  EXPECT_EQ(picture.substr(FileSize - 4 * RowBytes), std::string(4 * RowBytes, '\0'));
  EXPECT_EQ(PixelAt(picture, 5, 5), "\x30\x6E\xA3") << "orange";
  EXPECT_EQ(PixelAt(picture, 4 + 16 * 39 + 15, 4), "\x64\x64\x64") << "gray1";
  ExpectPictureMatchesModel(picture);
}

TEST(WriteCavePicture, IntermissionIsPaintedOnTheFullGrid) {
  const ScratchFolder folder(true);
  PrepareCave();
  CaveRecord.Intermission = true;
  for (auto &row : CaveGrid) row.fill(Items::Diamond);
  FillBlock(Items::Wall, 0, 11, 0, 19);
  TileSet[Items::Diamond] = FTile;
  const std::string picture = WritePicture();
  EXPECT_EQ(PixelAt(picture, 4 + 39 * 16, 4 + 21 * 16), SlotColor('4')) << "cell (21, 39)";
  EXPECT_EQ(PixelAt(picture, 4 + 20 * 16 + 15, 4), SlotColor('3')) << "cell (0, 20)";
  ExpectPictureMatchesModel(picture);
}

TEST(WriteCavePicture, OddTileCharactersAndItemCodesPaintSafely) {
  const ScratchFolder folder(true);
  PrepareCave();
  TileSet[0] = std::string("59x /\0-:AZ", 10) + PatternTile(0).substr(10);
  TileSet[1] = "";                          // every pixel in the background colour
  TileSet[2] = PatternTile(2) + "01234567"; // characters past 256 are not used
  TileSet[3] = "0123";                      // the rest of a short tile: background
  const ItemCode cells[] = {0, 1, 2, 3, -1, 16, 1000, INT_MIN, INT_MAX};
  for (std::size_t column = 0; column < 40; ++column)
    CaveGrid[column % 22][column] = cells[column % std::size(cells)];
  const std::string picture = WritePicture();
  for (std::size_t x = 4; x < 14; ++x)
    EXPECT_EQ(PixelAt(picture, x, 4), SlotColor('1')) << "odd character " << x - 4;
  // Unknown item codes show the Empty Space tile.
  TileSet[Items::EmptySpace] = FTile;
  ExpectPictureMatchesModel(WritePicture());
}

TEST(WriteCavePicture, NamesThePictureAfterGameAndCaveNumber) {
  const struct {
    const char *game;
    std::int32_t converted;
    const char *file;
  } cases[] = {
      {"Mine", 4, "Mine_Cave_05.bmp"},  {"Mine", 9, "Mine_Cave_10.bmp"},
      {"Mine", 60, "Mine_Cave_61.bmp"}, {"My Caves", 0, "My Caves_Cave_01.bmp"},
      {"", 0, "_Cave_01.bmp"},          {" Odd.name ", 1, " Odd.name _Cave_02.bmp"},
  };
  for (const auto &example : cases) {
    const ScratchFolder folder(true);
    PrepareCave();
    GameRecord.Name = example.game;
    CaveCount = example.converted;
    WriteCavePicture();
    EXPECT_EQ(CaveRecord.PictureFileName, example.file);
    std::set<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder.Path()))
      names.insert(entry.path().filename().string());
    EXPECT_EQ(names, std::set<std::string>{example.file});
    EXPECT_EQ(fs::file_size(folder.Path() / example.file), FileSize) << example.file;
  }
}

TEST(WriteCavePicture, SecondRunReplacesTheFile) {
  const ScratchFolder folder(true);
  PrepareCave();
  folder.Write("Mine_Cave_01.bmp", std::string(800000, 'x'));
  const std::string first = WritePicture();
  ExpectPictureMatchesModel(first);
  CaveRecord.CavePalette[0] = 0x0000FF;
  const std::string second = WritePicture();
  ExpectPictureMatchesModel(second);
  EXPECT_NE(first, second);
}

const std::string CreationFailed = ErrorReport("Creation of BMP pic failed!");

// Every file and folder below the folder, by relative path.
std::set<std::string> FolderContents(const fs::path &folder) {
  std::set<std::string> names;
  for (const auto &entry : fs::recursive_directory_iterator(folder))
    names.insert(fs::relative(entry.path(), folder).string());
  return names;
}

TEST(WriteCavePicture, GameNameMustNameAFileInTheFolder) {
  const std::string names[] = {"sub/Mine", "../Mine", "sub\\Mine", "/tmp/Mine",
                               std::string("Mi\0ne", 5)};
  for (const std::string &name : names) {
    const ScratchFolder folder(true);
    fs::create_directory("sub");
    PrepareCave();
    GameRecord.Name = name;
    const ChildOutcome outcome = RunInChild([] { WriteCavePicture(); });
    EXPECT_EQ(outcome.output, CreationFailed) << name;
    EXPECT_EQ(outcome.exitStatus, 1) << name;
    EXPECT_EQ(FolderContents(folder.Path()), std::set<std::string>{"sub"}) << name;
  }
}

TEST(WriteCavePicture, IncompleteWriteIsAnErrorAndLeavesNoFile) {
  for (std::uint64_t limit : {std::uint64_t{4096}, std::uint64_t{FileSize - 1}}) {
    const ScratchFolder folder(true);
    PrepareCave();
    const ChildOutcome outcome = RunInChild([] { WriteCavePicture(); }, limit);
    EXPECT_EQ(outcome.output, CreationFailed) << "limit " << limit;
    EXPECT_EQ(outcome.exitStatus, 1) << "limit " << limit;
    EXPECT_TRUE(FolderContents(folder.Path()).empty()) << "limit " << limit;
  }
  // Exactly enough room: the picture is written and the call returns.
  const ScratchFolder folder(true);
  PrepareCave();
  const ChildOutcome outcome = RunInChild([] { WriteCavePicture(); }, FileSize);
  EXPECT_EQ(outcome.output, "");
  EXPECT_EQ(outcome.exitStatus, 99) << "the child's body returned";
  ExpectPictureMatchesModel(ReadWholeFile(folder.Path() / "Mine_Cave_01.bmp"));
}

TEST(WriteCavePicture, FullDeviceOrAFolderInTheWayIsAnError) {
  for (const bool folderInTheWay : {false, true}) {
    const ScratchFolder folder(true);
    PrepareCave();
    if (folderInTheWay)
      fs::create_directory("Mine_Cave_01.bmp");
    else
      fs::create_symlink("/dev/full", "Mine_Cave_01.bmp");
    const ChildOutcome outcome = RunInChild([] { WriteCavePicture(); });
    EXPECT_EQ(outcome.output, CreationFailed) << folderInTheWay;
    EXPECT_EQ(outcome.exitStatus, 1) << folderInTheWay;
    EXPECT_EQ(fs::is_directory("Mine_Cave_01.bmp"), folderInTheWay) << "a folder is left alone";
  }
}

} // namespace
