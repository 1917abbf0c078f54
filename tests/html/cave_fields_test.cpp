// The template's bracketed fields, written through a cave entry.
#include "bdcff/cave_attributes.h"
#include "bdcff/document_walker.h"
#include "bdcff/game_header.h"
#include "driver/console_dialog.h"
#include "html/cave_fields.h"
#include "html/html_document.h"
#include "test_support.h"

namespace {

using WriteField_ = HtmlTest;

const std::string UnknownFieldLine = "Warning: Unknown command string in HTML structure file!\n";

struct Filled {
  std::string text;     // what the document received
  std::string messages; // what the console received
};

// Writes `entry` as a cave entry and returns what was written.
Filled Fill(const std::string &entry) {
  HtmlTemplate.CaveEntry = entry;
  HtmlFile = std::fopen("fields.html", "wb");
  EXPECT_NE(HtmlFile, nullptr);
  std::string messages = OutputOf(WriteCaveEntry);
  std::fclose(HtmlFile);
  HtmlFile = nullptr;
  return {ReadWholeFile("fields.html"), messages};
}

std::string Repeated(const std::string &line, int count) {
  std::string lines;
  for (int i = 0; i < count; ++i) lines += line;
  return lines;
}

const std::string GameFields =
    "[GameName]|[Author]|[Date]|[WWW]|[GraphicsSet]|[CharacterSet]|[Levels]|[Caves]";
const std::string CaveFields = "[Filename]|[Screen]|[Level]|[Type]|[Delay]|[DiamondsRequired]|"
                               "[DiamondValue]|[BonusDiamondValue]|[CaveName]|[Time]|"
                               "[SlimePermeability]|[AmoebaTime]|[MagicWallTime]|[Remark]";

TEST_F(WriteField_, GameFieldsWriteTheGameHeader) {
  GameRecord = {"Mine", "2026-01-02", "Ann", "www.mine.test", "Rocks", "Letters", 5, 20};
  EXPECT_EQ(Fill(GameFields).text, "Mine|Ann|2026-01-02|www.mine.test|Rocks|Letters|5|20");
  // Counts a header does not give are left out, not shown as 0.
  GameRecord = {"Mine", "", "", "", "", "", 0, 0};
  EXPECT_EQ(Fill(GameFields).text, "Mine|||||||");
}

TEST_F(WriteField_, ACaveThatGivesEverything) {
  GameRecord.Levels = 5;
  ResetCaveRecord();
  CaveRecord.PictureFileName = "Mine_Cave_07.bmp";
  CaveRecord.Level = 3;
  CaveRecord.Intermission = true;
  CaveRecord.CaveDelay = 0; // zero is a given value
  CaveRecord.DiamondsRequired = 12;
  CaveRecord.DiamondValue = 5;
  CaveRecord.BonusDiamondValue = 15;
  CaveRecord.Name = "Deep End";
  CaveRecord.CaveTime = 150;
  CaveRecord.SlimePermeability = "0.5";
  CaveRecord.AmoebaTime = 0;
  CaveRecord.MagicWallTime = 2147483647;
  CaveRecord.Remark = "Mind the gap";
  CaveCount = 7;
  const Filled filled = Fill(CaveFields);
  EXPECT_EQ(filled.text, "Mine_Cave_07.bmp|7|3|Intermission|0|12|5|15|Deep End|150|0.5|0|"
                         "2147483647|Mind the gap");
  EXPECT_EQ(filled.messages, "");
}

TEST_F(WriteField_, ACaveThatGivesNothing) {
  GameRecord.Levels = 1; // one level: no level number to show
  ResetCaveRecord();
  CaveRecord.PictureFileName = "Mine_Cave_01.bmp";
  CaveCount = 1;
  EXPECT_EQ(Fill(CaveFields).text, "Mine_Cave_01.bmp|1||Cave||-1|-1|-1||-1||||");
}

TEST_F(WriteField_, TheHeadSeesTheRecordsAsTheyStart) {
  PictureExtension = "png";
  EXPECT_EQ(Fill(CaveFields).text, "png|0||Cave|0|0|0|0||0||0|0|");
}

TEST_F(WriteField_, FilenameNamesThePictureWithTheChosenExtension) {
  CaveRecord.PictureFileName = "Mine_Cave_03.bmp";
  for (const std::string extension : {"bmp", "gif", "png"}) {
    PictureExtension = extension;
    EXPECT_EQ(Fill("[Filename]").text, "Mine_Cave_03." + extension);
  }
  CaveRecord.PictureFileName.clear();
  EXPECT_EQ(Fill("[Filename]").text, "png");
}

TEST_F(WriteField_, TextIsWrittenAsTextNeverAsMarkup) {
  const std::string typed = "<script>alert('a&b')</script> \"q\"";
  const std::string shown = "&lt;script&gt;alert(&#39;a&amp;b&#39;)&lt;/script&gt; &quot;q&quot;";
  GameRecord = {typed, typed, typed, typed, typed, typed, 2, 3};
  CaveRecord.Name = typed;
  CaveRecord.SlimePermeability = typed;
  CaveRecord.Remark = typed;
  CaveRecord.PictureFileName = "a&b_Cave_01.bmp";
  const std::string fields = "[GameName]|[Author]|[Date]|[WWW]|[GraphicsSet]|[CharacterSet]|"
                             "[CaveName]|[SlimePermeability]|[Remark]|[Filename]";
  std::string expected;
  for (int i = 0; i < 9; ++i) expected += shown + "|";
  EXPECT_EQ(Fill(fields).text, expected + "a&amp;b_Cave_01.bmp");
  // Characters that are not markup pass unchanged, bytes above 127 included.
  CaveRecord.Remark = "caf\xc3\xa9 #1 [x] 100%";
  EXPECT_EQ(Fill("[Remark]").text, "caf\xc3\xa9 #1 [x] 100%");
}

TEST_F(WriteField_, UnknownNamesWarnOncePerOccurrenceAndWriteNothing) {
  GameRecord.Name = "Mine";
  const Filled filled = Fill("a[gamename]b[ GameName]c[]d[GameName ]e[[GameName]f[GameName]");
  EXPECT_EQ(filled.text, "abcdefMine");
  EXPECT_EQ(filled.messages, Repeated(UnknownFieldLine, 5));
  // Each entry looks its names up anew.
  HtmlTemplate.CaveEntry = "[Unknown]";
  HtmlFile = std::fopen("entries.html", "wb");
  const std::string messages = OutputOf([] {
    WriteCaveEntry();
    WriteCaveEntry();
  });
  std::fclose(HtmlFile);
  HtmlFile = nullptr;
  EXPECT_EQ(messages, Repeated(UnknownFieldLine, 2));
  EXPECT_EQ(ReadWholeFile("entries.html"), "");
}

TEST_F(WriteField_, ABracketWithoutItsEndIsWrittenAsItStands) {
  GameRecord.Name = "Mine";
  for (const auto &[entry, written] : std::initializer_list<std::pair<std::string, std::string>>{
           {"a[GameName", "a[GameName"},
           {"[GameName]x[", "Minex["},
           {"[", "["},
           {"p { }\n[GameName]: [ rest\n", "p { }\nMine: [ rest\n"}}) {
    const Filled filled = Fill(entry);
    EXPECT_EQ(filled.text, written) << entry;
    EXPECT_EQ(filled.messages, "") << entry;
  }
}

TEST_F(WriteField_, LeavesThePositionJustAfterTheName) {
  // Driven directly, as the substitution loop drives it.
  GameRecord.Name = "Mine";
  HtmlFile = std::fopen("direct.html", "wb");
  const std::string text = "[GameName]][Caves]";
  std::size_t position = 1;
  WriteField(text, position);
  EXPECT_EQ(position, 10U);
  position = 12; // the stray "]" is the loop's to copy
  WriteField(text, position);
  EXPECT_EQ(position, text.size());
  std::fclose(HtmlFile);
  HtmlFile = nullptr;
  EXPECT_EQ(ReadWholeFile("direct.html"), "Mine");
}

} // namespace
