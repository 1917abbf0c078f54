// Runs the cases of tests/cases: each gives the files of a folder, the answers
// typed into the tool, and what the tool must print, return and write there.
//
// A case file is a list of blocks, each opened by a line "=== KIND WORDS";
// flags stand in the order shown:
//   note WORDS           a comment: the lines below it are for the reader
//   text NAME            lines that any block includes with a line "{NAME}"
//   case TITLE           starts a case; the blocks below belong to it
//   file NAME [from PATH] [crlf] [noeol]
//                        a file of the folder: the bytes of a file of the
//                        source tree (from), then the lines, with CR LF line
//                        ends (crlf), without a line feed after the last (noeol)
//   folder NAME          an empty folder
//   absent NAMES         default files left out of the folder
//   answers [crlf] [noeol] [set N]
//                        standard input (default: "caves.bd", 1, b, ENTER);
//                        the pictures must show the probe tiles of set N
//                        (default: 1, the set of the default answers)
//   transcript           standard output, exactly
//   exit STATUS          the exit status (default 0)
//   written NAMES        every file written, changed or removed (default: none)
//   page NAME [noeol]    the bytes of a written file
//   grid NAME [C0..C4]   the picture's 22 x 40 cells, read back as items, if
//                        lines are given; with its five colours as RRGGBB,
//                        every pixel of the picture is held against them
// Every folder starts with each set's probe tiles under its name (the names
// the build gives the tool) and the structure file of the text "structure".
// Some texts are given: "version", the banner's line of the build's version;
// "probe N", the probe tiles of support.h of set N (0 to 7), a whole graphics
// file; "probe N ITEM", the sixteen rows of that set's tile of the item named
// ITEM in the file ("probe 1 Rockford Doll"). Lines of content, names and
// words take the escapes \t \r \n \0 \\ and \xHH. In every block a line
// followed by " xN" stands for N such lines, "{NAME} xN" for N times the text.
//
// The cases load strictly, and anything else fails the whole run: a kind,
// flag or word not listed above, lines under a block that takes none, a block
// before a file's first case, a text defined twice or a "{NAME}" of no text.
// Only the answers or one
// file may stand several times in a case; the case then runs once with each,
// expecting the same outcome. Any other block repeated fails the load.
//
// Every run must also leave standard error empty, each picture written a
// 648 x 360 picture in a frame of one colour, and every other file of the
// folder and its sub-folders as it was. A picture is read back with the probe
// tiles of the set its answers name; each of its cells must show one, unless
// a set file of the folder holds other tiles.
#include "support.h"

#include <gtest/gtest.h>

#include "cave/cave_grid.h"
#include "driver/build_facts.h"

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The graphics files that the menu offers, in its order: a folder holds each
// with the probe tiles of its number.
const std::vector<std::string> SetNames(GraphicsSetFiles.begin(), GraphicsSetFiles.end());

// ---- Reading ---------------------------------------------------------------

struct Block {
  std::vector<std::string> words;
  std::vector<std::string> lines;
  std::string head;  // the block's line as written, after "=== "
  std::string where; // file and line, for a failure's report
};

struct Case {
  std::string name;  // file and number, for the test's name
  std::string title; // where and title, for a failure's report
  std::vector<Block> blocks;
  std::string varying; // the key of the blocks that repeat, if any
  int variants = 1;
};

void PrintTo(const Case &c, std::ostream *out) {
  *out << c.title;
}

[[noreturn]] void Fail(const Block &block, const std::string &why) {
  throw std::runtime_error(block.where + ": " + why);
}

// The text with its escapes \t \r \n \0 \\ and \xHH replaced; a backslash
// before any other character stands for that character.
std::string Unescape(const std::string &text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i] == '\\' && i + 1 < text.size() ? text[++i] : '\0'; // '\0': no escape
    const std::size_t named = std::string_view("trn0").find(c); // "\t\r\n" ends in '\0'
    if (c == 'x' && i + 2 < text.size()) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += c == '\0' ? text[i] : named == std::string::npos ? c : "\t\r\n"[named];
    }
  }
  return out;
}

std::vector<std::string> Words(const std::string &line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(Unescape(word));
  return words;
}

// The lines of a text, each without its line feed.
std::vector<std::string> Lines(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The blocks of a case file, each with the lines below it; lines before the
// first block are not read.
std::vector<Block> ReadBlocks(const fs::path &file) {
  std::vector<Block> blocks;
  std::size_t number = 0;
  for (const std::string &line : Lines(ReadFile(file))) {
    const std::string where = file.filename().string() + ":" + std::to_string(++number);
    if (line.starts_with("=== "))
      blocks.push_back({Words(line.substr(4)), {}, line.substr(4), where + " " + line});
    else if (!blocks.empty())
      blocks.back().lines.push_back(line);
  }
  return blocks;
}

// ---- The shapes of blocks --------------------------------------------------

// What a kind of block takes: the words and flags after the kind, as a
// pattern of the line as written; whether lines stand below it; whether its
// first word names what it gives, so that it stands once per name, not once
// per case; and whether a case may hold it several times, running once with each.
struct Shape {
  std::regex words;
  bool lines;
  bool named;
  bool varies;
};

// clang-format off
const std::map<std::string, Shape> Shapes = {
    // kind         words and flags                                   lines  named  varies
    {"note",       {std::regex(R"( .+)"),                             true,  false, false}},
    {"text",       {std::regex(R"( \S+)"),                            true,  true,  false}},
    {"case",       {std::regex(R"( .+)"),                             false, false, false}},
    {"file",       {std::regex(R"( \S+( from \S+)?( crlf)?( noeol)?)"), true, true,  true}},
    {"folder",     {std::regex(R"( \S+)"),                            false, true,  false}},
    {"absent",     {std::regex(R"(( \S+)+)"),                         false, false, false}},
    {"answers",    {std::regex(R"(( crlf)?( noeol)?( set \d+)?)"),    true,  false, true}},
    {"transcript", {std::regex(""),                                   true,  false, false}},
    {"exit",       {std::regex(R"( \d+)"),                            false, false, false}},
    {"written",    {std::regex(R"(( \S+)+)"),                         false, false, false}},
    {"page",       {std::regex(R"( \S+( noeol)?)"),                    true,  true,  false}},
    {"grid",       {std::regex(R"( \S+(( [0-9A-F]{6}){5})?)"),         true,  true,  false}}};
// clang-format on

// Why the block does not have the shape of its kind, or "".
std::string Misshapen(const Block &block) {
  const auto shape = Shapes.find(block.words[0]);
  if (shape == Shapes.end()) return "no block " + block.words[0];
  if (!shape->second.lines && !block.lines.empty()) return "lines under a block that takes none";
  const std::string rest = block.head.substr(block.words[0].size());
  return std::regex_match(rest, shape->second.words) ? "" : "words or flags out of place";
}

// The blocks that name what they give stand once per name, others once per case.
std::string Key(const Block &block) {
  return Shapes.at(block.words[0]).named ? block.words[0] + " " + block.words[1] : block.words[0];
}

// ---- Grouping blocks into cases --------------------------------------------

std::map<std::string, Block> Texts;

// Adds the cases of one case file; its texts join the texts of all.
void GroupCases(const std::string &stem, std::vector<Block> blocks, std::vector<Case> &cases) {
  Case *current = nullptr;
  int number = 0;
  for (Block &b : blocks) {
    const std::string &kind = b.words[0];
    if (const std::string why = Misshapen(b); !why.empty()) Fail(b, why);
    if (kind == "text" && !Texts.emplace(b.words[1], b).second)
      Fail(b, "a second text " + b.words[1]);
    if (kind == "case")
      current =
          &cases.emplace_back(Case{stem + "_" + std::to_string(++number), b.where, {}, "", 1});
    else if (kind == "note" || kind == "text")
      continue;
    else if (current == nullptr)
      Fail(b, "a block before the file's first case");
    else
      current->blocks.push_back(std::move(b));
  }
}

// The text a "{NAME}" line includes, or none; a "{NAME}" of no text fails.
const Block *Included(const std::string &line) {
  if (line.size() < 3 || line.front() != '{' || line.back() != '}') return nullptr;
  const auto text = Texts.find(line.substr(1, line.size() - 2));
  if (text == Texts.end()) throw std::runtime_error("no text " + line);
  return &text->second;
}

// The lines with every "{NAME}" line replaced by the text NAME, and every
// "LINE xN" line by N times that line ("{NAME} xN": N times the text).
std::vector<std::string> Expand(const std::vector<std::string> &lines,
                                std::vector<std::string> out = {}) {
  static const std::regex repeated(R"((.*) x(\d+))");
  for (const std::string &line : lines) {
    std::smatch parts;
    const bool many = std::regex_match(line, parts, repeated);
    const std::string once = many ? parts[1].str() : line;
    const std::size_t times = many ? std::stoul(parts[2]) : 1;
    const Block *text = Included(once);
    for (std::size_t i = 0; i < times; ++i)
      if (text != nullptr)
        out = Expand(text->lines, out);
      else
        out.push_back(once);
  }
  return out;
}

// The case's repeated blocks; a block repeated that may not be fails the load.
void FindVariants(Case &c) {
  std::map<std::string, int> counts;
  for (const Block &b : c.blocks) {
    const std::string key = Key(b);
    if (++counts[key] < 2 || key == c.varying) continue;
    if (!Shapes.at(b.words[0]).varies || !c.varying.empty())
      Fail(b, key + " more than once" + (c.varying.empty() ? "" : ", and " + c.varying));
    c.varying = key;
  }
  c.variants = c.varying.empty() ? 1 : counts[c.varying];
}

std::vector<Case> LoadCases() {
  // The banner's line of the build's version, centred in its frame.
  const std::string version = "v " + std::string(ProgramVersion);
  const std::string left((45 - version.size()) / 2, ' '),
      right(45 - left.size() - version.size(), ' ');
  Texts["version"].lines = {"*" + left + version + right + "*"};
  for (int set = 0; set <= 7; ++set) {
    const std::string probe = "probe " + std::to_string(set);
    const std::vector<std::string> tiles = Lines(ProbeTiles(set));
    Texts[probe].lines = tiles;
    for (std::size_t item = 0, first = 2; item < ItemNames.size(); ++item, first += 17)
      Texts[probe + " " + std::string(ItemNames[item])].lines.assign(
          tiles.begin() + static_cast<std::ptrdiff_t>(first),
          tiles.begin() + static_cast<std::ptrdiff_t>(first + 16));
  }
  std::vector<fs::path> files;
  for (const auto &entry : fs::directory_iterator(fs::path(GROTTOPRINT_SOURCE_DIR) / "tests/cases"))
    files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<Case> cases;
  for (const fs::path &file : files) GroupCases(file.stem().string(), ReadBlocks(file), cases);
  for (const auto &[name, text] : Texts) Expand(text.lines); // every "{NAME}" names a text
  for (Case &c : cases) {
    FindVariants(c);
    for (const Block &b : c.blocks) Expand(b.lines);
  }
  return cases;
}

// ---- Setting up a run ------------------------------------------------------

// Where the flag stands among the block's words after its name, or the end.
std::vector<std::string>::const_iterator Flag(const Block &block, const std::string &flag) {
  const auto first = block.words.begin() + (Shapes.at(block.words[0]).named ? 2 : 1);
  return std::find(first, block.words.end(), flag);
}

bool Has(const Block &block, const std::string &flag) {
  return Flag(block, flag) != block.words.end();
}

// The word after a flag the block holds, or "" when the flag stands last.
std::string After(const Block &block, const std::string &flag) {
  const auto at = Flag(block, flag);
  return at < block.words.end() - 1 ? *(at + 1) : "";
}

std::string Content(const Block &block) {
  std::string bytes = Has(block, "from") ? SourceFile(After(block, "from")) : "";
  const std::string end = Has(block, "crlf") ? "\r\n" : "\n";
  const std::vector<std::string> lines = Expand(block.lines);
  for (const std::string &line : lines) bytes += Unescape(line) + end;
  if (Has(block, "noeol") && !lines.empty()) bytes.resize(bytes.size() - end.size());
  return bytes;
}

// What a run must give; the page and grid blocks by their key.
struct Expected {
  std::string transcript;
  int exitStatus = 0;
  std::set<std::string> written;
  int set = 1;        // the set of the default answers
  bool probes = true; // every set file of the folder holds probe tiles
  std::map<std::string, const Block *> checks;
};

ToolRun DefaultRun() {
  ToolRun run;
  for (std::size_t set = 0; set < SetNames.size(); ++set)
    run.files[SetNames[set]] = ProbeTiles(static_cast<int>(set) + 1);
  run.files["html_structure.txt"] =
      Content({{"page", "html_structure.txt", "noeol"}, {"{structure}"}, "", ""});
  run.input = "caves.bd\n1\nb\n\n";
  return run;
}

// Puts what one block gives into the run or into what the run must give.
void Take(const Block &b, ToolRun &run, Expected &expected) {
  const std::string &kind = b.words[0];
  const std::vector<std::string> rest(b.words.begin() + 1, b.words.end());
  if (kind == "file") run.files[b.words[1]] = Content(b);
  if (kind == "folder") run.folders.push_back(b.words[1]);
  for (const std::string &name : kind == "absent" ? rest : std::vector<std::string>{})
    if (run.files.erase(name) == 0) Fail(b, "no default " + name);
  if (kind == "answers") run.input = Content(b);
  if (kind == "answers" && Has(b, "set")) expected.set = std::stoi(After(b, "set"));
  if (kind == "transcript") expected.transcript = Content(b);
  if (kind == "exit") expected.exitStatus = std::stoi(b.words[1]);
  if (kind == "written") expected.written.insert(rest.begin(), rest.end());
  if (kind == "page" || kind == "grid") expected.checks[Key(b)] = &b;
}

// ---- Comparing -------------------------------------------------------------

void ComparePicture(const std::string &name, const std::string &bytes, const Expected &expected,
                    const Block *grid) {
  std::vector<int> palette;
  for (std::size_t i = 2; grid != nullptr && i < grid->words.size(); ++i)
    palette.push_back(std::stoi(grid->words[i], nullptr, 16));
  const std::vector<std::string> cells = ReadGrid(bytes, expected.set, palette);
  const std::string shown = testing::PrintToString(cells);
  if (grid != nullptr && !grid->lines.empty()) {
    EXPECT_EQ(cells, Expand(grid->lines)) << name;
  } else { // drawn with probe tiles, every cell shows one; else it is a picture
    EXPECT_TRUE(cells.size() == 22 && (!expected.probes || shown.find('?') == std::string::npos))
        << name << ":\n"
        << shown;
  }
}

void CompareFile(const std::string &name, const std::string &bytes, const Expected &expected) {
  const auto check = [&](const std::string &kind) -> const Block * {
    const auto found = expected.checks.find(kind + " " + name);
    return found == expected.checks.end() ? nullptr : found->second;
  };
  if (const Block *page = check("page")) {
    EXPECT_EQ(bytes, Content(*page)) << name;
  }
  if (name.ends_with(".bmp"))
    ComparePicture(name, bytes, expected, check("grid"));
  else
    EXPECT_FALSE(check("grid")) << name << " is no picture";
}

void CompareRun(const ToolResult &result, const Expected &expected) {
  EXPECT_EQ(result.output, expected.transcript);
  EXPECT_EQ(result.errors, "");
  EXPECT_EQ(result.exitStatus, expected.exitStatus);
  std::set<std::string> names(result.removed.begin(), result.removed.end());
  for (const auto &file : result.written) names.insert(file.first);
  EXPECT_EQ(names, expected.written);
  for (const auto &[key, b] : expected.checks)
    if (!result.written.contains(b->words[1])) ADD_FAILURE() << key << ", which was not written";
  for (const auto &[name, bytes] : result.written) CompareFile(name, bytes, expected);
}

// ---- The tests -------------------------------------------------------------

class Cases : public testing::TestWithParam<Case> {};

TEST_P(Cases, Run) {
  const Case &c = GetParam();
  for (int variant = 0; variant < c.variants; ++variant) {
    SCOPED_TRACE(c.title +
                 (c.varying.empty() ? "" : ", " + c.varying + " " + std::to_string(variant + 1)));
    ToolRun run = DefaultRun();
    Expected expected;
    int seen = 0;
    for (const Block &b : c.blocks)
      if (Key(b) != c.varying || seen++ == variant) Take(b, run, expected);
    for (const std::string &set : SetNames)
      expected.probes &= !run.files.contains(set) || run.files[set].starts_with("Probe tiles");
    CompareRun(RunTool(run), expected);
  }
}

INSTANTIATE_TEST_SUITE_P(, Cases, testing::ValuesIn(LoadCases()),
                         [](const testing::TestParamInfo<Case> &param) {
                           return param.param.name;
                         });

} // namespace
