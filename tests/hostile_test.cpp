// Hostile input too large or too random for a case file: garbage, huge lines,
// hundreds of caves and full disks. Every run must end in one of the tool's
// own messages, with the exit status and the files that the message promises.
#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <random>

namespace {

const std::string Tiny = "[BDCFF]\n[game]\nName=Tiny\n\n[cave]\nColors=Black Red Green Blue White\n"
                         "[objects]\nPoint=3 2 DIAMOND\n[/objects]\n[/cave]\n[/game]\n[/BDCFF]\n";
std::string Structure(const std::string &head, const std::string &entry, const std::string &tail) {
  return "# # # # # # # # #HTML-begin#" + head + "#Caves-begin#" + entry + "#Caves-end#" + tail +
         "#HTML-end#";
}
const std::string Page =
    Structure("<h1>[GameName]</h1>\n", "<p>[Screen] [Filename]</p>\n", "</body>\n");
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

std::string PictureOfFull(int cave) {
  return "Full_Cave_0" + std::to_string(cave) + ".bmp";
}

// A run stopped part way, by a failed write (a full disk, made real with a file
// size limit) or by a kill at that limit (inside a picture, or inside the page
// between two pictures), leaves every output as the run before left it or
// whole, and a temporary file only after a kill; the next run replaces it. A
// page stopped by an error elsewhere ends after the last cave written, and a
// page whose own write failed stays as it was.
TEST(Hostile, StoppedRun) {
  const std::string game = Game("Full", 5), html = "Error: Creation of HTML file failed!" + Enter;
  const std::string entries = Structure("", std::string(300000, 'e'), "");
  const std::string pictureTemporary = "grottoprint-unfinished-picture.tmp",
                    pageTemporary = "grottoprint-unfinished-page.tmp";
  std::map<std::string, std::string> old = {{"caves.bd", game},
                                            {"graphics_original.txt", ProbeTiles()},
                                            {"Full.html", "old"},
                                            {pictureTemporary, "stale"},
                                            {pageTemporary, "stale"}};
  for (int cave = 1; cave <= 5; ++cave) old[PictureOfFull(cave)] = "old";
  const ToolResult whole = Convert({{"caves.bd", game}});
  struct Stop {
    std::string structure;
    std::uint64_t limit;
    bool killed;
    std::string ending;
    int pictures;                    // how many new pictures stand
    std::optional<std::string> page; // the new page that stands
    std::vector<std::string> kept;   // the temporary files left
  };
  const std::string bmp = "Error: Creation of BMP pic failed!" + Enter;
  const std::string head = Structure(std::string(800000, 'h'), "", "");
  const std::string tail = Structure("", "", std::string(700000, 't'));
  const std::uint64_t full = 699894; // each picture fits exactly
  for (const Stop &stop : std::vector<Stop>{
           {Page, 100000, false, Caves(1, 1) + bmp, 0, "<h1>Full</h1>\n", {}},
           {head, full, false, "file...\n" + html, 0, {}, {pictureTemporary}},
           {entries, full, false, Caves(1, 3) + html, 3, {}, {}},
           {tail, full, false, Caves(1, 5) + html, 5, {}, {}},
           {Page, 100000, true, Caves(1, 1), 0, {}, {pageTemporary, pictureTemporary}},
           {entries, full, true, Caves(1, 3), 3, {}, {pageTemporary}}}) {
    ToolRun run;
    run.files = old;
    run.files["html_structure.txt"] = stop.structure;
    run.input = "caves.bd\n1\nb\n\n";
    run.fileSizeLimit = stop.limit;
    run.killedAtLimit = stop.killed;
    ToolResult result = RunTool(run);
    EXPECT_TRUE(result.output.ends_with(stop.ending)) << result.output;
    EXPECT_EQ(result.exitStatus, stop.killed ? 128 + SIGXFSZ : 1);
    std::vector<std::string> removed;
    for (const std::string &temporary : {pageTemporary, pictureTemporary})
      if (std::find(stop.kept.begin(), stop.kept.end(), temporary) == stop.kept.end())
        removed.push_back(temporary);
      else
        result.written.erase(temporary);
    EXPECT_EQ(result.removed, removed);
    std::map<std::string, std::string> expected;
    for (int cave = 1; cave <= stop.pictures; ++cave)
      expected[PictureOfFull(cave)] = whole.written.at(PictureOfFull(cave));
    if (stop.page) expected["Full.html"] = *stop.page;
    EXPECT_TRUE(result.written == expected) << stop.ending;
  }
}

// A run whose page, pictures or temporary files would replace a file it reads,
// by that name, another spelling or a link, stops before it writes anything.
TEST(Hostile, OutputsNeverReplaceInputs) {
  const std::string game = Game("Full", 5);
  struct Inputs {
    std::string game, graphics, link; // a file of the game and one of tiles; a link to the template
  };
  for (const Inputs &inputs :
       {Inputs{"Full.html", "1", ""}, Inputs{"./Full.html", "1", ""},
        Inputs{"grottoprint-unfinished-page.tmp", "1", ""},
        Inputs{"caves.bd", "Full_Cave_04.bmp", ""}, Inputs{"caves.bd", "1", "Full.html"}}) {
    ToolRun full;
    full.files = {{inputs.game.substr(inputs.game.find('/') + 1), game},
                  {"graphics_original.txt", ProbeTiles()},
                  {"html_structure.txt", Page}};
    if (inputs.graphics != "1") full.files[inputs.graphics] = ProbeTiles();
    if (!inputs.link.empty()) full.links[inputs.link] = "html_structure.txt";
    full.input =
        inputs.game + (inputs.graphics == "1" ? "\n1" : "\n8\n" + inputs.graphics) + "\nb\n";
    const ToolResult result = RunTool(full);
    EXPECT_TRUE(result.output.ends_with(
        "Name of BD game: Full.\nReading HTML structure file...\nError: Output would overwrite "
        "input, graphics or HTML structure file!" +
        Enter))
        << result.output;
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_TRUE(result.written.empty() && result.removed.empty()) << full.input;
  }
}

} // namespace
