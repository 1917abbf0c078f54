// Runs the cases of tests/cases: each gives the files of a folder, the answers
// typed into the tool, and what the tool must print, return and write there.
//
// A case file is a list of blocks, each opened by a line "=== KIND WORDS":
//   note WORDS           a comment: the lines below it are for the reader
//   text NAME            lines that any block includes with a line "{NAME}"
//   case TITLE           starts a case; the blocks below belong to it
//   file NAME [FLAGS]    a file of the folder; FLAGS: noeol (no line feed
//                        after the last line), crlf (CR LF line ends),
//                        probe (the set's probe tiles of support.h, then the
//                        lines); or only "from PATH" (a file of the source tree)
//   replace NAME         right below "file NAME": pairs of lines, the first
//                        occurrence of each first line in it becomes the second
//   folder NAME          an empty folder
//   absent NAMES         default files left out of the folder
//   answers [FLAGS]      standard input (default: "caves.bd", 1, b, ENTER)
//   arguments WORDS      command-line arguments
//   transcript [FLAGS]   standard output, exactly
//   exit STATUS          the exit status (default 0)
//   written NAMES        every file written, changed or removed (default: none)
//   page NAME [FLAGS]    the bytes of a written file
//   grid NAME            the picture's 22 x 40 cells, read back as items; a
//                        row followed by " xN" stands for N such rows
//   colors NAME C0..C4   the picture's five colours as RRGGBB, which every
//                        pixel of its grid is then held against
// Every folder starts with each set's probe tiles under its name and the
// structure file of the text "structure". Lines of content, names and words
// take the escapes \t \r \n \0 \\ and \xHH.
//
// The cases load strictly, and anything else fails the whole run: a kind,
// flag or word count not listed above, lines under a block that takes none, a
// block before a file's first case, a text defined twice or a "{NAME}" of no
// text, a replace block anywhere but right below its file. Only the answers
// or one file may stand several times in a case; the case then runs once with
// each, expecting the same outcome. Any other block repeated fails the load.
// The text "version" is given: the banner's line of the version the build
// gives the tool.
//
// Every run must also leave standard error empty, each picture written a
// 648 x 360 picture in a frame of one colour, and every other file of the
// folder and its sub-folders as it was. A picture is read back with the
// probe tiles of the set that the answers choose.
#include "support.h"

#include <gtest/gtest.h>

#include "driver/build_facts.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Block {
  std::vector<std::string> words;
  std::vector<std::string> lines;
  std::string where;                     // file and line, for a failure's report
  std::vector<std::string> replacements; // a file's replace block
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

std::string Unescape(const std::string &text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    if (c == 'x' && i + 2 < text.size()) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c == '0' ? '\0' : c;
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

std::map<std::string, Block> Texts;

// What a kind of block takes: how many words after the kind (-1: one or
// more), the flags that may follow them, and whether lines follow its line.
struct Shape {
  int words;
  std::set<std::string> flags;
  bool lines;
};
// clang-format off
const std::map<std::string, Shape> Shapes = {
    {"note", {-1, {}, true}}, {"text", {1, {}, true}}, {"case", {-1, {}, false}},
    {"file", {1, {"noeol", "crlf", "probe", "from"}, true}}, {"replace", {1, {}, true}},
    {"folder", {1, {}, false}}, {"absent", {-1, {}, false}},
    {"answers", {0, {"noeol", "crlf"}, true}}, {"arguments", {-1, {}, false}},
    {"transcript", {0, {"noeol", "crlf"}, true}}, {"exit", {1, {}, false}},
    {"written", {-1, {}, false}}, {"page", {1, {"noeol", "crlf"}, true}},
    {"grid", {1, {}, true}}, {"colors", {6, {}, false}}};
// clang-format on

// Why the block does not have the shape of its kind, or "".
std::string Misshapen(const Block &block) {
  const auto shape = Shapes.find(block.words[0]);
  if (shape == Shapes.end()) return "no block " + block.words[0];
  const auto &[words, flags, lines] = shape->second;
  if (!lines && !block.lines.empty()) return "lines under a block that takes none";
  const auto count = static_cast<std::size_t>(std::abs(words)) + 1;
  if (block.words.size() < count) return "too few words";
  std::set<std::string> seen;
  for (std::size_t i = count; words != -1 && i < block.words.size(); ++i) {
    const std::string &flag = block.words[i];
    if (flag == "from" && flags.contains(flag) && i == count && i + 2 == block.words.size())
      return block.lines.empty() ? "" : "lines under a file from PATH";
    if (!flags.contains(flag) || flag == "from" || !seen.insert(flag).second)
      return "the word " + flag;
  }
  const bool numbers = block.words[0] == "exit" || block.words[0] == "colors";
  for (std::size_t i = count - (words == 1 ? 1 : 5); numbers && i < count; ++i)
    if (block.words[i].find_first_not_of("0123456789ABCDEF") != std::string::npos)
      return "no number " + block.words[i];
  return "";
}

// A block that gives a file or the answers may stand several times in a case;
// any other only once per name.
std::string Key(const Block &block) {
  const std::string &kind = block.words[0];
  return Shapes.at(kind).words > 0 && kind != "exit" ? kind + " " + block.words[1] : kind;
}

// The text a "{NAME}" line includes, or none; a "{NAME}" of no text fails.
const Block *Included(const std::string &line) {
  if (line.size() < 3 || line.front() != '{' || line.back() != '}') return nullptr;
  const auto text = Texts.find(line.substr(1, line.size() - 2));
  if (text == Texts.end()) throw std::runtime_error("no text " + line);
  return &text->second;
}

// The block's lines with every "{NAME}" line replaced by the text NAME.
void Expand(const std::vector<std::string> &lines, std::vector<std::string> &out) {
  for (const std::string &line : lines) {
    if (const Block *text = Included(line))
      Expand(text->lines, out);
    else
      out.push_back(line);
  }
}

void FindVariants(Case &c) {
  std::map<std::string, int> counts;
  for (const Block &b : c.blocks) ++counts[Key(b)];
  for (const auto &[key, count] : counts) {
    if (count > 1 && ((key != "answers" && !key.starts_with("file ")) || !c.varying.empty()))
      throw std::runtime_error(c.title + ": " + key + " more than once" +
                               (c.varying.empty() ? "" : ", and " + c.varying));
    if (count > 1) c = {c.name, c.title, c.blocks, key, count};
  }
}

std::vector<Case> LoadCases() {
  const std::string version = "v " + std::string(ProgramVersion);
  const std::size_t left = (45 - version.size()) / 2;
  Texts["version"].lines = {"*" + std::string(left, ' ') + version +
                            std::string(45 - left - version.size(), ' ') + "*"};
  std::vector<fs::path> files;
  for (const auto &entry : fs::directory_iterator(fs::path(GROTTOPRINT_SOURCE_DIR) / "tests/cases"))
    files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<Block> blocks;
  for (const fs::path &file : files) {
    std::size_t number = 0;
    blocks.push_back({{"file-start", file.stem().string()}, {}, "", {}});
    for (const std::string &line : Lines(ReadFile(file))) {
      const std::string where = file.filename().string() + ":" + std::to_string(++number);
      if (line.starts_with("=== "))
        blocks.push_back({Words(line.substr(4)), {}, where + " " + line, {}});
      else if (blocks.back().words[0] != "file-start")
        blocks.back().lines.push_back(line);
    }
  }
  std::vector<Case> cases;
  std::map<std::string, std::size_t> numbers;
  Case *current = nullptr;
  std::string stem;
  for (Block &b : blocks) {
    const std::string &kind = b.words.at(0);
    const auto fail = [&](const std::string &why) {
      throw std::runtime_error(b.where + ": " + why);
    };
    if (kind == "file-start") {
      current = nullptr;
      stem = b.words[1];
      continue;
    }
    if (const std::string why = Misshapen(b); !why.empty()) fail(why);
    if (kind == "text" && !Texts.emplace(b.words[1], b).second) fail("a second text " + b.words[1]);
    if (kind == "note" || kind == "text") continue;
    if (kind == "case") {
      current = &cases.emplace_back(
          Case{stem + "_" + std::to_string(++numbers[stem]), b.where, {}, "", 1});
      continue;
    }
    if (current == nullptr) fail("a block before the file's first case");
    Block &above = current->blocks.empty() ? b : current->blocks.back();
    if (kind != "replace") {
      current->blocks.push_back(std::move(b));
    } else if (&above == &b || above.words[0] != "file" || above.words[1] != b.words[1] ||
               !above.replacements.empty() || b.lines.size() % 2 != 0) {
      fail("a replace block must stand right below its file and hold pairs of lines");
    } else {
      above.replacements = b.lines;
    }
  }
  std::vector<std::string> expanded; // to see that every "{NAME}" names a text
  for (const auto &[name, text] : Texts) Expand(text.lines, expanded);
  for (Case &c : cases) {
    FindVariants(c);
    for (const Block &b : c.blocks) Expand(b.lines, expanded);
  }
  return cases;
}

bool Has(const Block &block, const std::string &word) {
  return std::find(block.words.begin(), block.words.end(), word) != block.words.end();
}

const std::vector<std::string> SetNames(GraphicsSetFiles.begin(), GraphicsSetFiles.end());

// The number of the set a file is named after, 1 to 7, or 0.
int SetOf(const std::string &name) {
  const auto set = std::find(SetNames.begin(), SetNames.end(), name);
  return set == SetNames.end() ? 0 : static_cast<int>(set - SetNames.begin()) + 1;
}

// The graphics file the answers choose: the menu answer's set if its number
// names one, else the file named next.
std::string ChosenFile(const std::string &input) {
  const std::vector<std::string> answers = Lines(input + "\n\n\n");
  const std::string &menu = answers[1];
  const int number =
      std::isdigit(static_cast<unsigned char>(menu[0])) ? std::stoi(menu.substr(0, 3)) : 0;
  return number >= 1 && number <= 7 ? SetNames[static_cast<std::size_t>(number - 1)] : answers[2];
}

std::string Content(const Block &block) {
  if (Has(block, "from")) return SourceFile(block.words.back());
  std::vector<std::string> lines;
  if (Has(block, "probe")) lines = Lines(ProbeTiles(SetOf(block.words[1])));
  Expand(block.lines, lines);
  std::string bytes;
  const std::string end = Has(block, "crlf") ? "\r\n" : "\n";
  for (const std::string &line : lines) bytes += Unescape(line) + end;
  if (Has(block, "noeol") && !bytes.empty()) bytes.resize(bytes.size() - end.size());
  return bytes;
}

// The rows of a grid block, with " xN" rows repeated.
std::vector<std::string> GridRows(const Block &block) {
  std::vector<std::string> lines, rows;
  Expand(block.lines, lines);
  for (const std::string &line : lines) {
    const std::size_t times = line.rfind(" x");
    rows.insert(rows.end(), times == std::string::npos ? 1 : std::stoul(line.substr(times + 2)),
                line.substr(0, times));
  }
  return rows;
}

void RunCase(const std::vector<const Block *> &blocks) {
  ToolRun run;
  for (const std::string &set : SetNames) run.files[set] = ProbeTiles(SetOf(set));
  run.files["html_structure.txt"] = Content({{"structure", "noeol"}, {"{structure}"}, "", {}});
  run.input = "caves.bd\n1\nb\n\n";
  std::string transcript;
  int exitStatus = 0;
  std::set<std::string> written;
  std::map<std::string, const Block *> checks; // the page, grid and colors blocks by key
  for (const Block *b : blocks) {
    const std::string &kind = b->words[0];
    if (kind == "file") run.files[b->words[1]] = Content(*b);
    for (std::size_t i = 0; i < b->replacements.size(); i += 2) {
      std::string &bytes = run.files[b->words[1]];
      const std::string from = Unescape(b->replacements[i]);
      const std::size_t at = bytes.find(from);
      ASSERT_NE(at, std::string::npos) << b->where << ": no " << from;
      bytes.replace(at, from.size(), Unescape(b->replacements[i + 1]));
    }
    if (kind == "folder") run.folders.push_back(b->words[1]);
    for (std::size_t i = 1; kind == "absent" && i < b->words.size(); ++i)
      ASSERT_EQ(run.files.erase(b->words[i]), 1U) << b->where << ": no default " << b->words[i];
    if (kind == "answers") run.input = Content(*b);
    if (kind == "arguments") run.arguments.assign(b->words.begin() + 1, b->words.end());
    if (kind == "transcript") transcript = Content(*b);
    if (kind == "exit") exitStatus = std::stoi(b->words[1]);
    if (kind == "written") written.insert(b->words.begin() + 1, b->words.end());
    if (kind == "page" || kind == "grid" || kind == "colors") checks[Key(*b)] = b;
  }
  const ToolResult result = RunTool(run);
  EXPECT_EQ(result.output, transcript);
  EXPECT_EQ(result.errors, "");
  EXPECT_EQ(result.exitStatus, exitStatus);
  std::set<std::string> names(result.removed.begin(), result.removed.end());
  for (const auto &file : result.written) names.insert(file.first);
  EXPECT_EQ(names, written);
  for (const auto &[key, b] : checks)
    if (!result.written.contains(b->words[1])) ADD_FAILURE() << key << ", which was not written";
  for (const auto &file : result.written) {
    const std::string &name = file.first; // a structured binding Clang 14 cannot capture
    const std::string &bytes = file.second;
    const auto check = [&](const std::string &kind) {
      const auto found = checks.find(kind + " " + name);
      return found == checks.end() ? nullptr : found->second;
    };
    if (const Block *page = check("page")) {
      EXPECT_EQ(bytes, Content(*page)) << name;
    }
    std::vector<int> palette;
    if (const Block *colors = check("colors"))
      for (std::size_t i = 2; i < colors->words.size(); ++i)
        palette.push_back(std::stoi(colors->words[i], nullptr, 16));
    if (!name.ends_with(".bmp")) {
      EXPECT_FALSE(check("grid") || check("colors")) << name << " is no picture";
      continue;
    }
    const std::string tiles = ChosenFile(run.input);
    const std::vector<std::string> grid = ReadGrid(bytes, SetOf(tiles), palette);
    if (const Block *rows = check("grid")) {
      EXPECT_EQ(grid, GridRows(*rows)) << name;
    } else {
      // Drawn with probe tiles, every cell must show one; drawn with
      // others, the picture must still be one.
      const bool probe = run.files[tiles].starts_with("Probe tiles");
      const std::string cells = testing::PrintToString(grid);
      EXPECT_TRUE(grid.size() == 22 && (!probe || cells.find('?') == std::string::npos))
          << name << ":\n"
          << cells;
    }
  }
}

class Cases : public testing::TestWithParam<Case> {};

TEST_P(Cases, Run) {
  const Case &c = GetParam();
  for (int variant = 0; variant < c.variants; ++variant) {
    SCOPED_TRACE(c.title +
                 (c.varying.empty() ? "" : ", " + c.varying + " " + std::to_string(variant + 1)));
    std::vector<const Block *> blocks;
    int seen = 0;
    for (const Block &b : c.blocks)
      if (Key(b) != c.varying || seen++ == variant) blocks.push_back(&b);
    RunCase(blocks);
  }
}

INSTANTIATE_TEST_SUITE_P(, Cases, testing::ValuesIn(LoadCases()),
                         [](const testing::TestParamInfo<Case> &param) {
                           return param.param.name;
                         });

} // namespace
