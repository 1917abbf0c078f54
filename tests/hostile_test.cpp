// Hostile input too large or too random for a case file: garbage, huge lines,
// hundreds of caves and full disks. Every run must end in one of the tool's
// own messages, with the exit status and the files that the message promises.
#include "support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

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

// A leftover of a killed run, which every run removes.
const std::string Leftover = "grottoprint-unfinished-0123abcd.tmp";

bool IsUnfinished(const std::string &name) {
  return name.size() == Leftover.size() && name.starts_with("grottoprint-unfinished-");
}

struct Stop {
  std::string structure;
  std::uint64_t limit;
  std::string ending;
  int pictures;                    // how many new pictures stand
  std::optional<std::string> page; // the new page that stands
  std::size_t unfinished;          // the run's own files left unfinished
};

const std::string PageFailed = "Error: Creation of HTML file failed!" + Enter;
const std::string Entries = Structure("", std::string(300000, 'e'), "");
const std::uint64_t PictureSize = 699894; // each picture fits exactly under this limit

// The pictures of the game "Full" converted whole.
std::string WholeFull(int cave) {
  static const ToolResult whole = Convert({{"caves.bd", Game("Full", 5)}});
  return whole.written.at(PictureOfFull(cave));
}

// Converts the game "Full" of five caves over old outputs and a leftover,
// stopped as `stop` says by a failed write (a full disk, made real with a file
// size limit) or by a kill at that limit. Every output stands as the run
// before left it or whole, and the leftover goes. Returns the folder's files.
std::map<std::string, std::string> RunStopped(const Stop &stop, bool killed) {
  ToolRun run;
  run.files = {{"caves.bd", Game("Full", 5)},
               {"graphics_original.txt", ProbeTiles()},
               {"html_structure.txt", stop.structure},
               {"Full.html", "old"},
               {Leftover, "stale"}};
  for (int cave = 1; cave <= 5; ++cave) run.files[PictureOfFull(cave)] = "old";
  run.input = "caves.bd\n1\nb\n\n";
  run.fileSizeLimit = stop.limit;
  run.killedAtLimit = killed;
  const ToolResult result = RunTool(run);
  EXPECT_TRUE(result.output.ends_with(stop.ending)) << result.output;
  EXPECT_EQ(result.exitStatus, killed ? 128 + SIGXFSZ : 1);
  EXPECT_EQ(result.removed, std::vector<std::string>{Leftover});
  std::map<std::string, std::string> written = result.written, expected;
  EXPECT_EQ(std::erase_if(written, [](const auto &file) { return IsUnfinished(file.first); }),
            stop.unfinished);
  for (int cave = 1; cave <= stop.pictures; ++cave) expected[PictureOfFull(cave)] = WholeFull(cave);
  if (stop.page) expected["Full.html"] = *stop.page;
  EXPECT_TRUE(written == expected) << stop.ending;
  run.files.erase(Leftover);
  for (auto &[name, bytes] : result.written) run.files[name] = bytes;
  return run.files;
}

// A run stopped by a failed write leaves no file of its own unfinished. A page
// stopped by an error elsewhere ends after the last cave written, and a page
// whose own write failed stays as it was.
TEST(Hostile, StoppedByFailedWrite) {
  const std::string bmp = "Error: Creation of BMP pic failed!" + Enter;
  const std::string head = Structure(std::string(800000, 'h'), "", "");
  const std::string tail = Structure("", "", std::string(700000, 't'));
  for (const Stop &stop :
       std::vector<Stop>{{Page, 100000, Caves(1, 1) + bmp, 0, "<h1>Full</h1>\n", 0},
                         {head, PictureSize, "file...\n" + PageFailed, 0, {}, 0},
                         {Entries, PictureSize, Caves(1, 3) + PageFailed, 3, {}, 0},
                         {tail, PictureSize, Caves(1, 5) + PageFailed, 5, {}, 0}})
    RunStopped(stop, false);
}

// A run killed inside a picture leaves it and the page unfinished, and one
// killed inside the page between pictures the page. The next run in the
// folder removes them and writes every output whole.
TEST(Hostile, StoppedByKill) {
  for (const Stop &stop : std::vector<Stop>{{Page, 100000, Caves(1, 1), 0, {}, 2},
                                            {Entries, PictureSize, Caves(1, 3), 3, {}, 1}}) {
    ToolRun next;
    next.files = RunStopped(stop, true);
    next.input = "caves.bd\n1\nb\n\n";
    const ToolResult result = RunTool(next);
    EXPECT_TRUE(result.output.ends_with("5" + Done)) << result.output;
    EXPECT_EQ(result.removed.size(), stop.unfinished);
    EXPECT_TRUE(std::ranges::all_of(result.removed, IsUnfinished));
    for (int cave = 1; cave <= 5; ++cave)
      EXPECT_EQ(result.written.contains(PictureOfFull(cave))
                    ? result.written.at(PictureOfFull(cave))
                    : next.files.at(PictureOfFull(cave)),
                WholeFull(cave));
  }
}

// Every name a run may write or remove, under which a file it reads would be
// lost: the page, the pictures at both ends of a game's cave numbers, and the
// unfinished files. A game file, a graphics file or a link to the template of
// such a name stops the run before it writes or removes anything.
TEST(Hostile, OutputsNeverReplaceInputs) {
  const std::string game = Game("Full", 5);
  for (const std::string name :
       {"Full.html", "Full_Cave_01.bmp", "Full_Cave_999999999.bmp",
        "grottoprint-unfinished-00000000.tmp", "grottoprint-unfinished-ffffffff.tmp"})
    for (int input = 0; input < 3; ++input) { // the game, the graphics, the template
      ToolRun full;
      full.files = {{"caves.bd", game},
                    {"graphics_original.txt", ProbeTiles()},
                    {"html_structure.txt", Page}};
      if (input < 2)
        full.files[name] = input == 0 ? game : ProbeTiles();
      else
        full.links[name] = "html_structure.txt";
      const std::string answers[] = {name + "\n1", "caves.bd\n8\n" + name, "caves.bd\n1"};
      full.input = answers[input] + "\nb\n";
      const ToolResult result = RunTool(full);
      EXPECT_TRUE(result.output.ends_with("file...\nError: Output would overwrite input, "
                                          "graphics or HTML structure file!" +
                                          Enter))
          << name << " " << input << ":\n"
          << result.output;
      EXPECT_TRUE(result.written.empty() && result.removed.empty()) << name << " " << input;
    }
}

// Starts a run in `folder` that answers `game`, its transcript to `output`.
int StartIn(const std::filesystem::path &folder, const std::string &game, int output) {
  static int started = 0; // each run reads answers of its own, never rewritten under it
  const std::filesystem::path answers = folder.parent_path() / std::to_string(++started);
  WriteFile(answers, game + "\n1\nb\n\n");
  const int input = open(answers.c_str(), O_RDONLY);
  const int child = StartTool(folder, input, output);
  close(input);
  return child;
}

// Three games converted at once in one folder, one of them twice, end as each
// ends alone: the same status, transcript and files, round after round.
TEST(Hostile, RunsSideBySide) {
  const std::vector<std::string> games = {"a.bd", "b.bd", "c.bd", "a.bd"};
  std::map<std::string, std::string> inputs = {{"graphics_original.txt", ProbeTiles()},
                                               {"html_structure.txt", Page}};
  for (int game = 0; game < 3; ++game)
    inputs[games[static_cast<std::size_t>(game)]] =
        Game(std::string(1, static_cast<char>('A' + game)), 8 + game,
             "Point=" + std::to_string(game + 2) + " 3 DIAMOND\n");
  std::map<std::string, std::string> expected = inputs;
  std::vector<ToolResult> alone;
  for (const std::string &game : games) {
    ToolRun run;
    run.files = inputs;
    run.input = game + "\n1\nb\n\n";
    alone.push_back(RunTool(run));
    expected.insert(alone.back().written.begin(), alone.back().written.end());
  }
  const ScratchFolder scratch;
  const std::filesystem::path folder = scratch.Path() / "run";
  std::filesystem::create_directory(folder);
  for (const auto &[name, bytes] : inputs) WriteFile(folder / name, bytes);
  for (int round = 0; round < 4; ++round) {
    std::vector<int> children;
    for (std::size_t run = 0; run < games.size(); ++run) {
      const int output = open((scratch.Path() / ("out" + std::to_string(run))).c_str(),
                              O_WRONLY | O_CREAT | O_TRUNC, 0644);
      children.push_back(StartIn(folder, games[run], output));
      close(output);
    }
    for (std::size_t run = 0; run < games.size(); ++run) {
      EXPECT_EQ(WaitForTool(children[run]), alone[run].exitStatus);
      EXPECT_EQ(ReadFile(scratch.Path() / ("out" + std::to_string(run))), alone[run].output);
    }
    std::map<std::string, std::string> files;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
      files[entry.path().filename().string()] = ReadFile(entry.path());
    EXPECT_TRUE(files == expected) << "round " << round;
  }
}

// A run still converting keeps its unfinished files while another run in the
// same folder removes a killed run's leftover: had it lost its page, it would
// end with an error. It is held inside its first cave, its page open: its
// warnings fill the pipe nobody reads.
TEST(Hostile, LeftoverGoesButFilesInUseStay) {
  const ScratchFolder scratch;
  const std::filesystem::path folder = scratch.Path() / "run";
  std::filesystem::create_directory(folder);
  std::string unknown;
  for (int object = 0; object < 1500; ++object) unknown += "Point=2 2 NOTHING\n";
  for (const auto &[name, bytes] :
       std::map<std::string, std::string>{{"held.bd", Game("Held", 2, unknown)},
                                          {"caves.bd", Tiny},
                                          {Leftover, "stale"},
                                          {"graphics_original.txt", ProbeTiles()},
                                          {"html_structure.txt", Page}})
    WriteFile(folder / name, bytes);
  int pipe[2];
  ASSERT_EQ(::pipe(pipe), 0);
  const int held = StartIn(folder, "held.bd", pipe[1]);
  close(pipe[1]);
  std::string transcript;
  char chunk[256];
  const auto readOn = [&](const std::string &until) {
    for (ssize_t count = 1; count > 0 && transcript.find(until) == std::string::npos;)
      if ((count = read(pipe[0], chunk, sizeof chunk)) > 0) transcript.append(chunk, chunk + count);
  };
  readOn("Processing cave 01..."); // the page is open, and stays open for now
  const int quiet = open("/dev/null", O_WRONLY);
  EXPECT_EQ(WaitForTool(StartIn(folder, "caves.bd", quiet)), 0);
  close(quiet);
  EXPECT_FALSE(std::filesystem::exists(folder / Leftover));
  readOn("Press ENTER");
  EXPECT_EQ(WaitForTool(held), 0);
  EXPECT_TRUE(transcript.ends_with(Summary + "2" + Done)) << transcript.substr(0, 300);
  for (const auto &entry : std::filesystem::directory_iterator(folder))
    EXPECT_FALSE(IsUnfinished(entry.path().filename().string())) << entry.path();
}

} // namespace
