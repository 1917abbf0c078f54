// The cave attributes: every key, its reader, its spellings and the failures.
#include "bdcff/cave_attributes.h"
#include "driver/console_dialog.h"
#include "picture/cave_colors.h"
#include "test_support.h"

namespace {

const std::string UnknownItemWarning = "Warning: Unknown item in objects! Empty Space inserted.\n";
const std::string UnknownColorWarning = "Warning: Unknown color found! Gray2 inserted.\n";

// Reads one cave's attributes after a reset and returns what was printed.
// The record itself is not cleared first: fields that are not reset keep what
// an earlier cave left, as they do in a run.
std::string ReadAttributesOf(const std::string &text) {
  OpenInputText(text);
  ResetCaveRecord();
  return OutputOf(ReadCaveAttributes);
}

// Reads attribute lines closed by a colour line and an objects tag.
std::string ReadLines(const std::string &lines) {
  return ReadAttributesOf(lines + "Colors=Black Black Orange Gray1 White\n[objects]\n");
}

void ExpectAttributesToEndRun(const std::string &text, const std::string &transcript) {
  OpenInputText(text);
  ResetCaveRecord();
  EXPECT_TRANSCRIPT_AND_EXIT(ReadCaveAttributes(), transcript) << text;
}

Palette PaletteOf(std::initializer_list<const char *> names) {
  Palette palette{};
  std::size_t slot = 0;
  for (const char *name : names) palette[slot++] = ColorFromName(name);
  return palette;
}

TEST(ReadCaveAttributes, FillsTheRecordInBothKeySpellingsAndStopsAtTheTagLine) {
  for (const bool lowerCase : {false, true}) {
    const auto key = [lowerCase](const std::string &name) {
      return (lowerCase ? LowerCase(name) : name) + "=";
    };
    const std::string output = ReadAttributesOf(
        key("Name") + "Deep Cave\n" + key("Remark") + " a long way down \n" + key("InitialFill") +
        "BOULDER \n" + key("CaveDelay") + "12 10 8 6 4\n" + key("CaveTime") +
        "150 140 130 120 110\n" + key("DiamondsRequired") + "24 25 26 27 28\n" +
        key("DiamondValue") + "10 15\n" + key("SlimePermeability") + "0.25\n" + key("AmoebaTime") +
        "20 20 20 20 20\n" + key("MagicWallTime") + "30 25 20 15 10\n" + key("Intermission") +
        "true\n" + key("Colors") + "Black Blue Orange Gray1 White\n" + key("RandSeed") +
        "10 20 30 40 50\n" + key("RandomFill") + "BOULDER 50 DIAMOND 9\n" +
        "[map]\nfirst map row\n");
    EXPECT_EQ(output, "");
    EXPECT_EQ(CaveRecord.Name, "Deep Cave");
    EXPECT_EQ(CaveRecord.Remark, " a long way down ");
    EXPECT_EQ(CaveRecord.InitialFill, "BOULDER "); // unknown to the builder, as written
    EXPECT_EQ(CaveRecord.CaveDelay, 12);
    EXPECT_EQ(CaveRecord.CaveTime, 150);
    EXPECT_EQ(CaveRecord.DiamondsRequired, 24);
    EXPECT_EQ(CaveRecord.DiamondValue, 10);
    EXPECT_EQ(CaveRecord.BonusDiamondValue, 15);
    EXPECT_EQ(CaveRecord.SlimePermeability, "0.25");
    EXPECT_EQ(CaveRecord.AmoebaTime, 20);
    EXPECT_EQ(CaveRecord.MagicWallTime, 30);
    EXPECT_TRUE(CaveRecord.Intermission);
    EXPECT_EQ(CaveRecord.CavePalette, PaletteOf({"Black", "Blue", "Orange", "Gray1", "White"}));
    EXPECT_EQ(CaveRecord.RandSeed, 10);
    EXPECT_TRUE(CaveRecord.RandomFill);
    EXPECT_EQ(CaveRecord.RandomFillItems[0], Items::Boulder);
    EXPECT_EQ(CaveRecord.RandomFillProbabilities[0], 50);
    EXPECT_EQ(CaveRecord.RandomFillItems[1], Items::Diamond);
    EXPECT_EQ(CaveRecord.RandomFillProbabilities[1], 9);
    EXPECT_EQ(CaveRecord.RandomFillItems[2], 0);
    EXPECT_EQ(CaveRecord.RandomFillProbabilities[2], 300);
    EXPECT_EQ(CaveRecord.Level, 1);
    EXPECT_TRUE(CaveRecord.HasMap);
    // The section's first line is left for the section reader.
    EXPECT_EQ(ReadTextLine(InputFile), "first map row");
  }
}

TEST(ReadCaveAttributes, UngivenFieldsKeepTheirResetValues) {
  CaveRecord.RandSeed = 77; // a seed is not reset: a cave without one keeps the last
  ReadAttributesOf("Name=Intro\nColors=Orange White Gray1\n[objects]\n");
  EXPECT_EQ(CaveRecord.Name, "Intro");
  EXPECT_EQ(CaveRecord.CavePalette, PaletteOf({"Black", "Black", "Orange", "White", "Gray1"}));
  EXPECT_FALSE(CaveRecord.HasMap);
  EXPECT_EQ(CaveRecord.Remark, "");
  EXPECT_EQ(CaveRecord.InitialFill, "DIRT");
  for (std::int32_t number :
       {CaveRecord.CaveDelay, CaveRecord.CaveTime, CaveRecord.DiamondsRequired,
        CaveRecord.DiamondValue, CaveRecord.BonusDiamondValue, CaveRecord.AmoebaTime,
        CaveRecord.MagicWallTime})
    EXPECT_EQ(number, -1);
  EXPECT_FALSE(CaveRecord.Intermission);
  EXPECT_FALSE(CaveRecord.RandomFill);
  EXPECT_EQ(CaveRecord.RandSeed, 77);
  for (std::size_t slot = 0; slot < RandomFillSlots; ++slot) {
    EXPECT_EQ(CaveRecord.RandomFillItems[slot], 0);
    EXPECT_EQ(CaveRecord.RandomFillProbabilities[slot], 300);
  }
}

// Only the first token of a value counts: the first level of per-level
// values, and both diamond values; keys match in two spellings only.
TEST(ReadCaveAttributes, NumberKeysKeepTheirFirstTokens) {
  using Field = std::int32_t CaveProperties::*;
  const struct {
    const char *line;
    Field field;
    std::int32_t value;
  } cases[] = {
      {"CaveDelay=12 10 8 6 4", &CaveProperties::CaveDelay, 12},
      {"cavedelay=12", &CaveProperties::CaveDelay, 12},
      {"CaveDelay= 12", &CaveProperties::CaveDelay, 0},
      {"CaveDelay=", &CaveProperties::CaveDelay, 0},
      {"CAVEDELAY=12", &CaveProperties::CaveDelay, -1},
      {" CaveDelay=12", &CaveProperties::CaveDelay, -1},
      {"Cavedelay=12", &CaveProperties::CaveDelay, -1},
      {"AmoebaTime=100", &CaveProperties::AmoebaTime, 100},
      {"AmoebaTime=20 20 20 20 20", &CaveProperties::AmoebaTime, 20},
      {"AmoebaTime= 20", &CaveProperties::AmoebaTime, 0},
      {"MagicWallTime=30 25 20 15 10", &CaveProperties::MagicWallTime, 30},
      {"MagicWallTime=", &CaveProperties::MagicWallTime, 0},
      {"DiamondValue=10 15", &CaveProperties::BonusDiamondValue, 15},
      {"DiamondValue=10", &CaveProperties::BonusDiamondValue, 10},
      {"DiamondValue=10 ", &CaveProperties::BonusDiamondValue, 10},
      {"DiamondValue=10 1 5", &CaveProperties::DiamondValue, 10},
      {"DiamondValue=10 1 5", &CaveProperties::BonusDiamondValue, 15},
      {"DiamondValue=", &CaveProperties::DiamondValue, 0},
      {"DiamondValue=", &CaveProperties::BonusDiamondValue, 0},
      {"diamondvalue=3 4", &CaveProperties::BonusDiamondValue, 4},
  };
  for (const auto &c : cases) {
    ReadLines(std::string(c.line) + "\n");
    EXPECT_EQ(CaveRecord.*c.field, c.value) << c.line;
  }
}

TEST(ReadCaveAttributes, IntermissionLooksAtFourCharacters) {
  const struct {
    const char *lines;
    bool intermission;
  } cases[] = {
      {"Intermission=true\n", true},    {"Intermission=True\n", true},
      {"Intermission=trueish\n", true}, {"Intermission=TRUE\n", false},
      {"Intermission=yes\n", false},    {"Intermission=tru\n", false},
      {"Intermission=\n", false},       {"Intermission=true\nIntermission=TRUE\n", false},
  };
  for (const auto &c : cases) {
    ReadLines(c.lines);
    EXPECT_EQ(CaveRecord.Intermission, c.intermission) << c.lines;
  }
}

// Fewer than five names fill the last slots; names after the fifth (real
// files give two for later engines) have no slot and are neither translated
// nor warned about; a second colour line replaces the first one's names.
TEST(ReadCaveAttributes, ColourLinesFillThePalette) {
  const struct {
    const char *lines;
    Palette palette;
    std::string output;
  } cases[] = {
      {"Colors=Red Blue Green Yellow", PaletteOf({"Black", "Red", "Blue", "Green", "Yellow"}), ""},
      {"Colors=Red", PaletteOf({"Black", "Black", "Black", "Black", "Red"}), ""},
      {"colors=red blue", PaletteOf({"Black", "Black", "Black", "Red", "Blue"}), ""},
      {"Colors=Black Blue Orange Gray1 White Magenta NoSuchColour",
       PaletteOf({"Black", "Blue", "Orange", "Gray1", "White"}), ""},
      {"Colors=Black Blue Orange Gray1 White\nColors=Red Green",
       PaletteOf({"Black", "Black", "Black", "Red", "Green"}), ""},
      {"Colors=Black Mauve Orange Gray1 White",
       PaletteOf({"Black", "Gray2", "Orange", "Gray1", "White"}), UnknownColorWarning},
  };
  for (const auto &c : cases) {
    CaveRecord.CavePalette = PaletteOf({"White", "White", "White", "White", "White"});
    EXPECT_EQ(ReadAttributesOf(std::string(c.lines) + "\n[map]\n"), c.output) << c.lines;
    EXPECT_EQ(CaveRecord.CavePalette, c.palette) << c.lines;
  }
}

TEST(ReadCaveAttributes, SecondRandomFillLineOverwritesOnlyItsPairs) {
  ReadLines("RandomFill=BOULDER 50 DIAMOND 9 WALL 3\nRandomFill=FIREFLYl 20\n");
  EXPECT_EQ(CaveRecord.RandomFillItems[0], Items::Firefly);
  EXPECT_EQ(CaveRecord.RandomFillProbabilities[0], 20);
  EXPECT_EQ(CaveRecord.RandomFillItems[1], Items::Diamond);
  EXPECT_EQ(CaveRecord.RandomFillItems[2], Items::Wall);
  EXPECT_EQ(CaveRecord.RandomFillProbabilities[2], 3);

  ReadLines("RandomFill=\n"); // no pairs, and still a random cave
  EXPECT_TRUE(CaveRecord.RandomFill);
  EXPECT_EQ(CaveRecord.RandomFillProbabilities[0], 300);
}

TEST(ReadCaveAttributes, UnknownRandomFillItemWarnsAndGivesEmptySpace) {
  const std::string output = ReadLines("RandomFill=PEBBLE 40 DIAMOND 9\n");
  EXPECT_EQ(output, UnknownItemWarning);
  EXPECT_EQ(CaveRecord.RandomFillItems[0], Items::EmptySpace);
  EXPECT_EQ(CaveRecord.RandomFillProbabilities[0], 40);
  EXPECT_EQ(CaveRecord.RandomFillItems[1], Items::Diamond);
}

// Pairs after the tenth are read and translated (an unknown name still warns)
// but have no slot to be stored in.
TEST(ReadCaveAttributes, PairsAfterTheTenthAreReadButNotStored) {
  std::string line = "RandomFill=";
  for (int pair = 1; pair <= 10; ++pair) line += "WALL " + std::to_string(pair) + " ";
  line += "PEBBLE 11 BOULDER 12";
  const std::string output = ReadLines(line + "\n");
  EXPECT_EQ(output, UnknownItemWarning);
  for (std::size_t slot = 0; slot < RandomFillSlots; ++slot) {
    EXPECT_EQ(CaveRecord.RandomFillItems[slot], Items::Wall) << slot;
    EXPECT_EQ(CaveRecord.RandomFillProbabilities[slot], static_cast<std::int32_t>(slot + 1));
  }
  // The fields stored after the tables are untouched by the extra pairs.
  EXPECT_EQ(CaveRecord.CavePalette, PaletteOf({"Black", "Black", "Orange", "Gray1", "White"}));
}

TEST(ReadCaveAttributes, EveryTagSpellingEndsTheAttributes) {
  const struct {
    const char *tag;
    bool hasMap;
  } cases[] = {{"[map]", true},      {"[MAP]", true},      {"[Map]", true},
               {"[objects]", false}, {"[OBJECTS]", false}, {"[Objects]", false}};
  for (const auto &c : cases) {
    CaveRecord.HasMap = !c.hasMap;
    ReadAttributesOf(std::string("Colors=Red\n") + c.tag + "\nnext\n");
    EXPECT_EQ(CaveRecord.HasMap, c.hasMap) << c.tag;
    EXPECT_EQ(ReadTextLine(InputFile), "next") << c.tag;
  }
}

TEST(ReadCaveAttributes, TagOnTheLastLineWithoutLineFeedStillEndsTheAttributes) {
  ReadAttributesOf("Colors=Red\r\n[objects]");
  EXPECT_FALSE(CaveRecord.HasMap);
}

// A cave without a section runs on into the next cave, whose lines overwrite its values.
TEST(ReadCaveAttributes, CaveWithoutSectionRunsIntoTheNextCave) {
  ReadAttributesOf("Name=Lost\nColors=Red\n[/cave]\n[cave]\nName=Found\nCaveTime=5\n[map]\n");
  EXPECT_EQ(CaveRecord.Name, "Found");
  EXPECT_EQ(CaveRecord.CaveTime, 5);
  EXPECT_TRUE(CaveRecord.HasMap);
}

TEST(ReadCaveAttributesDeathTest, InputEndingBeforeTheTagEndsTheRun) {
  const std::string error = ErrorReport("Unexpected end of file!");
  ExpectAttributesToEndRun("Colors=Red\nName=Half", error);
  ExpectAttributesToEndRun("Colors=Red\nName=Half\n", error);
  ExpectAttributesToEndRun("Colors=Red\n[mAp]\n[map] \n [objects]\n", error);
  ExpectAttributesToEndRun("", error);
}

TEST(ReadCaveAttributesDeathTest, MissingFirstColourEndsTheRunAtTheTag) {
  const std::string error = ErrorReport("Colors not found!");
  ExpectAttributesToEndRun("Name=No colours\n[map]\n", error);
  ExpectAttributesToEndRun("Colors=\n[map]\n", error);
  ExpectAttributesToEndRun("COLORS=Red\n[map]\n", error);
  ExpectAttributesToEndRun("Colors= Black Blue Orange\n[map]\n", UnknownColorWarning + error);
  // The last colour line counts, also when an earlier one was complete.
  ExpectAttributesToEndRun("Colors=Red Blue\nColors=\n[objects]\n", error);
}

TEST(ReadCaveAttributesDeathTest, ValuesEndingTooEarlyEndTheRun) {
  const std::string error = ErrorReport("Unexpected end of line!");
  ExpectAttributesToEndRun("RandSeed=10\nColors=Red\n[map]\n", error);
  ExpectAttributesToEndRun("RandSeed=\nColors=Red\n[map]\n", error);
  ExpectAttributesToEndRun("RandomFill=BOULDER 50 DIAMOND\nColors=Red\n[map]\n", error);
  ExpectAttributesToEndRun("RandomFill=PEBBLE 50 DIAMOND\n[map]\n", UnknownItemWarning + error);
}

} // namespace
