// The structure file reader and the document writer.
#include "bdcff/cave_attributes.h"
#include "bdcff/document_walker.h"
#include "bdcff/game_header.h"
#include "e2e/harness.h"
#include "html/html_document.h"
#include "test_support.h"

namespace {

const std::string ReadingLine = "Reading HTML structure file...\n";

const std::string HtmlBeginMissing = "#HTML-begin# not found in HTML structure file!";
const std::string CavesBeginMissing = "#Caves-begin# not found in HTML structure file!";
const std::string CavesEndMissing = "#Caves-end# not found in HTML structure file!";
const std::string HtmlEndMissing = "#HTML-end# not found in HTML structure file!";
const std::string CreationFailed = "Creation of HTML file failed!";

using HtmlStructureFile = HtmlTest;
using HtmlDocument = HtmlTest;
using HtmlDocumentDeathTest = HtmlTest;
using HtmlStructureFileDeathTest = HtmlTest;

std::string ReadQuietly() {
  return OutputOf(ReadHtmlStructure);
}

TEST_F(HtmlStructureFile, CutsTheThreePiecesKeepingEveryByte) {
  // Line breaks next to the markers, a carriage return and a tab belong to
  // the pieces; brackets are only text at this stage.
  WriteWholeFile("html_structure.txt",
                 StructureFile("\n<h1>[GameName]</h1>\r\n", "\t<p>[CaveName]</p>\n", "</body>\n") +
                     "\nanything after the last marker");
  EXPECT_EQ(ReadQuietly(), ReadingLine);
  EXPECT_EQ(HtmlTemplate.Head, "\n<h1>[GameName]</h1>\r\n");
  EXPECT_EQ(HtmlTemplate.CaveEntry, "\t<p>[CaveName]</p>\n");
  EXPECT_EQ(HtmlTemplate.Tail, "</body>\n");
}

TEST_F(HtmlStructureFile, AcceptsTheLastMarkerWithoutItsClosingMark) {
  std::string file = StructureFile("h", "e", "t");
  file.pop_back();
  WriteWholeFile("html_structure.txt", file);
  ReadQuietly();
  EXPECT_EQ(HtmlTemplate.Head, "h");
  EXPECT_EQ(HtmlTemplate.CaveEntry, "e");
  EXPECT_EQ(HtmlTemplate.Tail, "t");
}

TEST_F(HtmlStructureFile, AcceptsEmptyPiecesAndAnyPreambleText) {
  WriteWholeFile("html_structure.txt", "#########HTML-begin##Caves-begin##Caves-end##HTML-end#");
  HtmlTemplate = {"old head", "old entry", "old tail"};
  ReadQuietly();
  EXPECT_EQ(HtmlTemplate.Head, "");
  EXPECT_EQ(HtmlTemplate.CaveEntry, "");
  EXPECT_EQ(HtmlTemplate.Tail, "");
}

// Exactly eight marks before the first marker; markers compared whole and
// case-sensitively; a mark inside a piece ends it early (a colour written
// with a mark ends the head there); a piece running to the file's end is not
// closed.
TEST_F(HtmlStructureFileDeathTest, MalformedFilesNameTheMissingMarker) {
  const std::string rest = "#HTML-begin#h#Caves-begin#e#Caves-end#t#HTML-end#";
  const std::string begin = "########" + std::string("#HTML-begin#");
  const std::pair<std::string, const std::string *> cases[] = {
      {"#######" + rest, &HtmlBeginMissing},
      {"#########" + rest, &HtmlBeginMissing},
      {"", &HtmlBeginMissing},
      {"########", &HtmlBeginMissing},
      {"########" + std::string("#HTML-begin #h#Caves-begin#e#Caves-end#t#HTML-end#"),
       &HtmlBeginMissing},
      {"########" + std::string("#html-begin#h#Caves-begin#e#Caves-end#t#HTML-end#"),
       &HtmlBeginMissing},
      {begin + "h#Caves-begin\n#e#Caves-end#t#HTML-end#", &CavesBeginMissing},
      {begin + "h#Caves-begin#e#CAVES-END#t#HTML-end#", &CavesEndMissing},
      {begin + "h#Caves-begin#e#Caves-end#t#HTML-end\n", &HtmlEndMissing},
      {begin + "h#Caves-begin#e#Caves-end#t#HTML-ending#", &HtmlEndMissing},
      {StructureFile("<body bgcolor=\"#000000\">", "e", "t"), &CavesBeginMissing},
      {StructureFile("h", "<a href=\"x#top\">", "t"), &CavesEndMissing},
      {StructureFile("h", "e", "&#38;"), &HtmlEndMissing},
      {begin, &CavesBeginMissing},
      {begin + "head only", &CavesBeginMissing},
      {begin + "h#Caves-begin", &CavesEndMissing},
      {begin + "h#Caves-begin#entry only", &CavesEndMissing},
      {begin + "h#Caves-begin#e#Caves-end#tail only", &HtmlEndMissing}};
  for (const auto &c : cases) {
    WriteWholeFile("html_structure.txt", c.first);
    EXPECT_TRANSCRIPT_AND_EXIT(ReadHtmlStructure(), ReadingLine + ErrorReport(*c.second))
        << c.first;
  }
}

TEST_F(HtmlStructureFileDeathTest, AMissingOrUnreadableFileIsNotFound) {
  const std::string notFound = ErrorReport("HTML structure file not found!");
  EXPECT_TRANSCRIPT_AND_EXIT(ReadHtmlStructure(), notFound);
  std::filesystem::create_directory("html_structure.txt");
  EXPECT_TRANSCRIPT_AND_EXIT(ReadHtmlStructure(), notFound);
}

// Fills the records for cave `number` of the game "Mine".
void ConvertedCave(int number, const std::string &name) {
  ResetCaveRecord();
  CaveRecord.Name = name;
  CaveRecord.PictureFileName = "Mine_Cave_0" + std::to_string(number) + ".bmp";
  CaveCount = number;
}

TEST_F(HtmlDocument, WritesHeadEntriesInOrderAndTail) {
  GameRecord.Name = "Mine";
  HtmlTemplate = {"<h1>[GameName] [Screen]</h1>\n", "<p>[Screen] [CaveName] [Filename]</p>\n",
                  "<i>[GameName] [</i>\n"};
  OpenHtmlDocument();
  const char *names[] = {"Alpha", "Beta", "Gamma"};
  for (int cave = 1; cave <= 3; ++cave) {
    ConvertedCave(cave, names[cave - 1]);
    WriteCaveEntry();
  }
  CloseHtmlDocument();
  EXPECT_EQ(HtmlFile, nullptr);
  EXPECT_EQ(ReadWholeFile("Mine.html"), "<h1>Mine 0</h1>\n"
                                        "<p>1 Alpha Mine_Cave_01.bmp</p>\n"
                                        "<p>2 Beta Mine_Cave_02.bmp</p>\n"
                                        "<p>3 Gamma Mine_Cave_03.bmp</p>\n"
                                        "<i>[GameName] [</i>\n");
}

TEST_F(HtmlDocument, ReplacesAnOlderDocumentAndKeepsEveryByte) {
  GameRecord.Name = "My Caves";
  WriteWholeFile("My Caves.html", std::string(5000, 'x'));
  HtmlTemplate = {std::string("a\r\n\0b\x1a", 6), "", "\n"};
  OpenHtmlDocument();
  CloseHtmlDocument();
  EXPECT_EQ(ReadWholeFile("My Caves.html"), std::string("a\r\n\0b\x1a\n", 7));
}

TEST_F(HtmlDocument, EntriesStayOnDiskWhenTheTailIsNeverWritten) {
  // A game whose document end tag is missing stops after its last cave.
  GameRecord.Name = "Mine";
  HtmlTemplate = {"head|", "[Screen]|", "tail"};
  OpenHtmlDocument();
  ConvertedCave(1, "A");
  WriteCaveEntry();
  ConvertedCave(2, "B");
  WriteCaveEntry();
  EXPECT_EQ(ReadWholeFile("Mine.html"), "head|1|2|");
}

TEST_F(HtmlDocumentDeathTest, ANameThatLeavesTheFolderIsRefused) {
  std::filesystem::create_directory("sub");
  std::filesystem::create_directory("Taken.html");
  HtmlTemplate = {"head", "", ""};
  for (const std::string &name : std::vector<std::string>{
           "sub/Mine", "..\\Mine", std::string("Mine\0x", 6), "Taken", std::string(300, 'n')}) {
    GameRecord.Name = name;
    EXPECT_TRANSCRIPT_AND_EXIT(OpenHtmlDocument(), ErrorReport(CreationFailed)) << name;
  }
  EXPECT_TRUE(std::filesystem::is_empty("sub"));
  EXPECT_FALSE(std::filesystem::exists("Mine.html"));
}

// Writes the document of one cave with the given pieces, in a process whose
// files may not grow beyond 4 KiB.
void WriteLimitedDocument(const HtmlPieces &pieces) {
  GameRecord.Name = "Mine";
  HtmlTemplate = pieces;
  LimitFileSize(4096);
  OpenHtmlDocument();
  WriteCaveEntry();
  CloseHtmlDocument();
  std::exit(0);
}

TEST_F(HtmlDocumentDeathTest, AFailedWriteIsReportedAfterEachPiece) {
  const std::string big(20000, 'b');
  const std::string failed = ErrorReport(CreationFailed);
  for (const HtmlPieces &pieces :
       {HtmlPieces{big, "e", "t"}, HtmlPieces{"h", big, "t"}, HtmlPieces{"h", "e", big}}) {
    EXPECT_TRANSCRIPT_AND_EXIT(WriteLimitedDocument(pieces), failed);
  }
  // The same document within the limit is written without a word.
  EXPECT_EXIT(RunWithOutputOnStderr([] {
                WriteLimitedDocument({"h", "e", "t"});
              }),
              testing::ExitedWithCode(0), "^$");
  EXPECT_EQ(ReadWholeFile("Mine.html"), "het");
}

TEST_F(HtmlDocumentDeathTest, FailsWhereTheEntryNoLongerFits) {
  // The head fits, the entry does not: the head is on disk, then the error.
  EXPECT_TRANSCRIPT_AND_EXIT(WriteLimitedDocument({"head", std::string(9000, 'e'), ""}),
                             ErrorReport(CreationFailed));
  const std::string written = ReadWholeFile("Mine.html");
  EXPECT_EQ(written.substr(0, 5), "heade");
  EXPECT_LE(written.size(), 4096U);
}

TEST_F(HtmlDocument, TheShippedTemplateNamesOnlyKnownFields) {
  WriteWholeFile("html_structure.txt", SourceFile("data/html_structure.txt"));
  GameRecord = {"Mine", "", "", "", "", "", 0, 2};
  EXPECT_EQ(OutputOf([] {
              ReadHtmlStructure();
              OpenHtmlDocument();
              ConvertedCave(1, "Alpha");
              WriteCaveEntry();
              CloseHtmlDocument();
            }),
            ReadingLine); // no warning
  const std::string page = ReadWholeFile("Mine.html");
  EXPECT_EQ(page.substr(0, 16), "<!DOCTYPE html>\n");
  EXPECT_EQ(page.substr(page.size() - 8), "</html>\n");
  EXPECT_NE(page.find("<title>Mine - cave maps</title>"), std::string::npos);
  EXPECT_NE(page.find("<img src=\"Mine_Cave_01.bmp\" width=\"648\" height=\"360\" "
                      "loading=\"lazy\" decoding=\"async\" alt=\"Map of Cave 1: Alpha\">"),
            std::string::npos);
  EXPECT_EQ(page.find('['), std::string::npos); // every field was filled
}

} // namespace
