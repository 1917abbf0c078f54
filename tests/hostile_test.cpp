// Hostile input too large or too random for a case file: garbage, huge lines,
// hundreds of caves and full disks. Every run must end in one of the tool's
// own messages, with the exit status and the files that the message promises.
#include "support.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const std::string Tiny = "[BDCFF]\n[game]\nName=Tiny\n\n[cave]\nColors=Black Red Green Blue White\n"
                         "[objects]\nPoint=3 2 DIAMOND\n[/objects]\n[/cave]\n[/game]\n[/BDCFF]\n";
const std::string Page = "# # # # # # # # #HTML-begin#<h1>[GameName]</h1>\n#Caves-begin#"
                         "<p>[Screen] [Filename]</p>\n#Caves-end#</body>\n#HTML-end#";
const std::string Summary = "========================================\n";
const std::string Enter = "\nPress ENTER to exit.\n";
const std::string Done = " caves converted. BMP pics created.\nHTML document written." + Enter;

// A game of the given caves, each an objects cave with the given objects.
std::string Game(const std::string &name, int caves, const std::string &objects = "") {
  std::string game = "[BDCFF]\n[game]\nName=" + name + "\n\n";
  for (int cave = 0; cave < caves; ++cave)
    game += "[cave]\nColors=Black Red Green Blue White\n[objects]\n" + objects +
            "[/objects]\n[/cave]\n";
  return game + "[/game]\n[/BDCFF]\n";
}

ToolResult Convert(const std::map<std::string, std::string> &files,
                   std::optional<std::uint64_t> fileSizeLimit = std::nullopt) {
  ToolRun run;
  run.files = {
      {"caves.bd", Tiny}, {"graphics_original.txt", ProbeTiles()}, {"html_structure.txt", Page}};
  for (const auto &[name, bytes] : files) run.files[name] = bytes;
  run.input = "caves.bd\n1\nb\n\n";
  run.fileSizeLimit = fileSizeLimit;
  ToolResult result = RunTool(run);
  EXPECT_EQ(result.errors, "");
  EXPECT_TRUE(result.removed.empty()) << result.removed[0];
  return result;
}

std::string Caves(int first, int last) {
  std::string lines;
  for (int cave = first; cave <= last; ++cave)
    lines +=
        std::string("Processing cave ") + (cave < 10 ? "0" : "") + std::to_string(cave) + "...\n";
  return lines;
}

struct Hostile {
  const char *name;
  std::string file, bytes;
  std::string ending; // how the transcript ends
  int exitStatus;
  std::size_t written; // how many files are written
};

void Check(const Hostile &h, const ToolResult &result) {
  EXPECT_TRUE(result.output.ends_with(h.ending)) << h.name << ":\n"
                                                 << result.output.substr(0, 1000);
  EXPECT_EQ(result.exitStatus, h.exitStatus) << h.name;
  EXPECT_EQ(result.written.size(), h.written) << h.name;
}

std::string RandomBytes(std::size_t count) {
  std::mt19937 generator(7);
  std::string bytes(count, '\0');
  for (char &c : bytes) c = static_cast<char>(generator());
  return bytes;
}

TEST(Hostile, GarbageAndHugeLines) {
  const std::string noGame = "Reading input file...\nError: [BDCFF] tag not found!" + Enter;
  const std::string noTile =
      "Reading graphics file...\nError: Item not found in graphics file!" + Enter;
  const std::string noPage =
      "Reading HTML structure file...\nError: #HTML-begin# not found in HTML structure file!" +
      Enter;
  const std::string huge(10 << 20, '7');
  std::string longHeading = ProbeTiles();
  longHeading.insert(longHeading.find("[Rockford]") + 10, huge); // only the name counts
  std::string longRow = ProbeTiles();
  longRow.insert(longRow.find("[Diamond]\n") + 10, huge);
  // Read in chunks of 64 KiB, the file's last byte, the end of its last marker, comes alone.
  std::string longPage = Page.substr(0, Page.size() - 1);
  longPage.insert(longPage.find("</body>"), (1 << 16) + 1 - longPage.size(), ' ');
  std::vector<Hostile> cases = {
      {"a page of 64 KiB and a byte", "html_structure.txt", longPage,
       "HTML document written." + Enter, 0, 2},
      {"long comment and heading", "graphics_original.txt", huge + "\n" + longHeading,
       "HTML document written." + Enter, 0, 2},
      {"long tile row", "graphics_original.txt", longRow,
       "Error: Dimensions of items must be 16x16!" + Enter, 1, 0},
      {"a million marks", "html_structure.txt", std::string(1000000, '#'), noPage, 1, 0},
      {"a name of 10000 characters", "caves.bd", Game(std::string(10000, 'n'), 1),
       "...\nError: Creation of HTML file failed!" + Enter, 1, 0},
  };
  for (const std::string &garbage : {RandomBytes(1 << 16), std::string(1 << 20, '\0')}) {
    cases.push_back({"garbage game", "caves.bd", garbage, noGame, 1, 0});
    cases.push_back({"garbage tiles", "graphics_original.txt", garbage, noTile, 1, 0});
    cases.push_back({"garbage page", "html_structure.txt", garbage, noPage, 1, 0});
  }
  for (const Hostile &h : cases) Check(h, Convert({{h.file, h.bytes}}));
  // Older, longer files of the names the run writes are replaced whole.
  const ToolResult replaced = Convert({{"Tiny.html", huge}, {"Tiny_Cave_01.bmp", huge}});
  EXPECT_EQ(replaced.written.at("Tiny.html"),
            "<h1>Tiny</h1>\n<p>1 Tiny_Cave_01.bmp</p>\n</body>\n");
  EXPECT_EQ(ReadGrid(replaced.written.at("Tiny_Cave_01.bmp")).at(2),
            "W..d" + std::string(35, '.') + "W");
}

TEST(Hostile, SlowFiftyMegabyteLinesAndAMillionObjects) {
  std::string line(50 << 20, 'A');
  Check({"one line", "", "", "Reading input file...\nError: [BDCFF] tag not found!" + Enter, 1, 0},
        Convert({{"caves.bd", line}}));
  line.replace(0, 7, "Remark=");
  std::string game = Game("Long", 1);
  game.insert(game.find("[objects]"), line + "\n");
  const ToolResult remark =
      Convert({{"caves.bd", game},
               {"html_structure.txt",
                "# # # # # # # # #HTML-begin##Caves-begin#[Remark]#Caves-end##HTML-end#"}});
  EXPECT_TRUE(remark.output.ends_with(Caves(1, 1) + Summary + "1" + Done));
  EXPECT_EQ(remark.written.at("Long.html"), line.substr(7));

  std::string objects;
  for (int object = 0; object < 1000000; ++object)
    objects += "Point=" + std::to_string(1 + object % 38) + " 5 BOULDER\n";
  const ToolResult drawn =
      Convert({{"caves.bd", Game("Lines", 1, objects + "Point=7 5 DIAMOND\n")}});
  EXPECT_EQ(drawn.exitStatus, 0);
  EXPECT_EQ(ReadGrid(drawn.written.at("Lines_Cave_01.bmp")).at(5),
            "WrrrrrrdrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrW");
}

// Numbers go on past 60 in plain decimal, and every cave is converted.
TEST(Hostile, SlowTwoHundredCaves) {
  const ToolResult result = Convert({{"caves.bd", Game("Many", 200)}});
  EXPECT_TRUE(result.output.ends_with(Caves(1, 200) + Summary + "200" + Done));
  std::string page = "<h1>Many</h1>\n";
  for (int cave = 1; cave <= 200; ++cave) {
    const std::string name =
        "Many_Cave_" + Caves(cave, cave).substr(16, cave < 100 ? 2 : 3) + ".bmp";
    page += "<p>" + std::to_string(cave) + " " + name + "</p>\n";
    EXPECT_EQ(result.written.count(name) ? result.written.at(name).size() : 0, 699894U) << name;
  }
  EXPECT_EQ(result.written.at("Many.html"), page + "</body>\n");
  EXPECT_EQ(result.written.size(), 201U);
}

// A full disk, made real with a file size limit: the tool says which file it
// could not write and leaves no cut-short picture behind; the page keeps what
// was written before the disk was full.
TEST(Hostile, FullDisk) {
  const std::string game = Game("Full", 3);
  const ToolResult picture = Convert({{"caves.bd", game}}, 100000);
  EXPECT_TRUE(picture.output.ends_with(Caves(1, 1) + "Error: Creation of BMP pic failed!" + Enter));
  EXPECT_EQ(picture.exitStatus, 1);
  EXPECT_EQ(picture.written,
            (std::map<std::string, std::string>{{"Full.html", "<h1>Full</h1>\n"}}));

  // Pictures fit the limit exactly; the page outgrows it at the third entry,
  // or with the tail.
  for (const std::string &page :
       {"# # # # # # # # #HTML-begin#<h1>[GameName]</h1>\n#Caves-begin#" +
            std::string(300000, 'e') + "#Caves-end#</body>\n#HTML-end#",
        "# # # # # # # # #HTML-begin#<h1>[GameName]</h1>\n#Caves-begin#x#Caves-end#" +
            std::string(699894, 't') + "#HTML-end#"}) {
    ToolResult whole = Convert({{"caves.bd", game}, {"html_structure.txt", page}});
    ToolResult cut = Convert({{"caves.bd", game}, {"html_structure.txt", page}}, 699894);
    EXPECT_TRUE(cut.output.ends_with(Caves(1, 3) + "Error: Creation of HTML file failed!" + Enter));
    EXPECT_EQ(cut.exitStatus, 1);
    EXPECT_EQ(cut.written.at("Full.html"), whole.written.at("Full.html").substr(0, 699894));
    whole.written.erase("Full.html");
    cut.written.erase("Full.html");
    EXPECT_EQ(cut.written, whole.written);
  }
  // A head too large for the disk fails in one write that leaves nothing in
  // the buffer: the failure shows only in the stream's error flag.
  const std::string head = std::string(800000, 'h') + "#Caves-begin##Caves-end##HTML-end#";
  EXPECT_TRUE(
      Convert({{"caves.bd", game}, {"html_structure.txt", Page.substr(0, 28) + head}}, 699894)
          .output.ends_with("file...\nError: Creation of HTML file failed!" + Enter));
}

} // namespace
