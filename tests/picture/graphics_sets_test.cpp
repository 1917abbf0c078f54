// The seven graphics sets shipped in data/, read with the program's own reader.
#include "driver/console_dialog.h"
#include "picture/graphics_file.h"
#include "test_support.h"

#include <algorithm>
#include <set>

namespace {

using Tiles = std::array<std::string, ItemKinds>;

const char *const SetFiles[] = {"graphics_original.txt",      "graphics_original_bd2.txt",
                                "graphics_ghost.txt",         "graphics_pumpkin.txt",
                                "graphics_ghost_pumpkin.txt", "graphics_space.txt",
                                "graphics_santa.txt"};

// Fewer differing pixels than this and two tiles cannot be told apart on a
// printed map.
constexpr std::size_t MinimumDifference = 8;

std::string DataPath(const std::string &name) {
  return std::string(GROTTOPRINT_SOURCE_DIR) + "/data/" + name;
}

// Reads the shipped file with the program's reader. The read runs first in a
// child, so a broken file fails this test instead of ending the whole run.
Tiles ReadSet(const std::string &name) {
  const std::string path = DataPath(name);
  const ChildOutcome outcome = RunInChild([&] {
    if (OpenTextLines(GraphicsFile, path)) ReadGraphicsFile();
  });
  EXPECT_EQ(outcome.exitStatus, 99) << name << " did not read cleanly";
  EXPECT_EQ(outcome.output, "Reading graphics file...\n") << name;
  if (outcome.exitStatus != 99) return {};

  EXPECT_TRUE(OpenTextLines(GraphicsFile, path)) << name;
  TileSet = {};
  OutputOf(ReadGraphicsFile);
  return TileSet;
}

const std::string &At(const Tiles &tiles, ItemCode item) {
  return tiles[static_cast<std::size_t>(item)];
}

std::string_view NameOf(ItemCode item) {
  return ItemNames[static_cast<std::size_t>(item)];
}

std::size_t DifferingPixels(const std::string &a, const std::string &b) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < TileCharacters; ++i) count += a[i] != b[i];
  return count;
}

TEST(GraphicsSets, EachSetReadsCleanlyAndItsTilesAreWellFormedAndDistinct) {
  for (const char *name : SetFiles) {
    SCOPED_TRACE(name);
    const Tiles tiles = ReadSet(name);
    for (ItemCode item = 0; item < ItemKinds; ++item) {
      const std::string &tile = At(tiles, item);
      ASSERT_EQ(tile.size(), TileCharacters) << NameOf(item);
      // Every pixel names a cave colour; the border colour stays out of the
      // tiles, so the frame is the only place it shows.
      const auto badDigit =
          std::find_if(tile.begin(), tile.end(), [](char c) { return c < '1' || c > '4'; });
      EXPECT_EQ(badDigit, tile.end())
          << NameOf(item) << " has '" << *badDigit << "' at pixel " << (badDigit - tile.begin());
    }
    EXPECT_EQ(At(tiles, Items::EmptySpace), std::string(TileCharacters, '1'))
        << "empty space is all background";
    for (ItemCode a = 0; a < ItemKinds; ++a)
      for (ItemCode b = a + 1; b < ItemKinds; ++b)
        EXPECT_GE(DifferingPixels(At(tiles, a), At(tiles, b)), MinimumDifference)
            << NameOf(a) << " and " << NameOf(b) << " look alike";
  }
}

// The themed sets redraw only their themed items; everything else is the
// original art, byte for byte.
TEST(GraphicsSets, ThemedSetsDifferFromTheOriginalExactlyInTheirThemedItems) {
  const Tiles original = ReadSet("graphics_original.txt");
  const std::set<ItemCode> ghost = {Items::Rockford, Items::RockfordDoll};
  const std::set<ItemCode> pumpkin = {Items::Boulder};
  const std::set<ItemCode> both = {Items::Rockford, Items::RockfordDoll, Items::Boulder};
  const std::pair<const char *, std::set<ItemCode>> themes[] = {
      {"graphics_ghost.txt", ghost},
      {"graphics_pumpkin.txt", pumpkin},
      {"graphics_ghost_pumpkin.txt", both}};
  for (const auto &[name, themed] : themes) {
    SCOPED_TRACE(name);
    const Tiles tiles = ReadSet(name);
    for (ItemCode item = 0; item < ItemKinds; ++item) {
      if (themed.count(item) != 0)
        EXPECT_GE(DifferingPixels(At(tiles, item), At(original, item)), MinimumDifference)
            << NameOf(item) << " is not redrawn";
      else
        EXPECT_EQ(At(tiles, item), At(original, item))
            << NameOf(item) << " strays from the original";
    }
  }
  const Tiles ghostTiles = ReadSet("graphics_ghost.txt");
  const Tiles pumpkinTiles = ReadSet("graphics_pumpkin.txt");
  const Tiles bothTiles = ReadSet("graphics_ghost_pumpkin.txt");
  EXPECT_EQ(At(bothTiles, Items::Rockford), At(ghostTiles, Items::Rockford));
  EXPECT_EQ(At(bothTiles, Items::RockfordDoll), At(ghostTiles, Items::RockfordDoll));
  EXPECT_EQ(At(bothTiles, Items::Boulder), At(pumpkinTiles, Items::Boulder));
}

} // namespace
