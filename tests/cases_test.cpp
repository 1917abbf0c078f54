// Runs the cases of tests/cases: each gives the files of a folder, the answers
// typed into the tool, and what the tool must print, return and write there.
//
// A case file is a list of blocks, each opened by a line "=== KIND WORDS":
//   note                 a comment: the lines below it are for the reader
//   text NAME            lines that any block includes with a line "{NAME}"
//   case TITLE           starts a case; the blocks below belong to it
//   file NAME [FLAGS]    a file of the folder; FLAGS: noeol (no line feed
//                        after the last line), crlf (CR LF line ends),
//                        from PATH (the bytes of a file of the source tree),
//                        probe (the probe tiles of support.h, then the lines)
//   replace NAME         pairs of lines: the first occurrence of each first
//                        line in the file is replaced by the second
//   folder NAME          an empty folder
//   absent NAMES         default files left out of the folder
//   answers [noeol]      standard input (default: "caves.bd", 1, b, ENTER)
//   arguments WORDS      command-line arguments
//   transcript           standard output, exactly
//   exit STATUS          the exit status (default 0)
//   written NAMES        every file written or changed (default: none)
//   page NAME [noeol]    the bytes of a written file
//   grid NAME            the picture's 22 x 40 cells, read back as items
//   colors NAME C0..C4   the picture's five colours as RRGGBB
// Every folder starts with the probe tiles under the seven set names and the
// structure file of the text "structure". Lines of content, names and words
// take the escapes \t \r \n \0 \\ and \xHH.
#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Block {
  std::vector<std::string> words;
  std::vector<std::string> lines;
};

struct Case {
  std::string name;  // file and number, for the test's name
  std::string title; // file, line and title, for a failure's report
  std::vector<Block> blocks;
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

const std::set<std::string> KnownKinds = {"case",    "file",      "replace",    "folder", "absent",
                                          "answers", "arguments", "transcript", "exit",   "written",
                                          "page",    "grid",      "colors"};

std::vector<Case> LoadCases() {
  std::vector<fs::path> files;
  for (const auto &entry : fs::directory_iterator(fs::path(GROTTOPRINT_SOURCE_DIR) / "tests/cases"))
    files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<Case> cases;
  for (const fs::path &file : files) {
    Block *block = nullptr, note;
    std::size_t number = 0, caseNumber = 0;
    for (const std::string &line : Lines(ReadFile(file))) {
      ++number;
      if (!line.starts_with("=== ")) {
        if (block != nullptr) block->lines.push_back(line);
        continue;
      }
      Block opened{Words(line.substr(4)), {}};
      if (opened.words[0] == "note" || opened.words[0] == "text") {
        block = opened.words[0] == "note" ? &note : &Texts[opened.words.at(1)];
        continue;
      }
      if (!KnownKinds.contains(opened.words[0]))
        throw std::runtime_error(file.string() + ":" + std::to_string(number) + ": no block " +
                                 opened.words[0]);
      if (opened.words[0] == "case")
        cases.push_back({file.stem().string() + "_" + std::to_string(++caseNumber),
                         file.filename().string() + ":" + std::to_string(number) + " " + line,
                         {}});
      cases.at(cases.size() - 1).blocks.push_back(opened);
      block = &cases.back().blocks.back();
    }
  }
  return cases;
}

// The block's lines with every "{NAME}" line replaced by the text NAME.
void Expand(const std::vector<std::string> &lines, std::vector<std::string> &out) {
  for (const std::string &line : lines) {
    const auto text = line.size() > 2 && line.front() == '{' && line.back() == '}'
                          ? Texts.find(line.substr(1, line.size() - 2))
                          : Texts.end();
    if (text != Texts.end())
      Expand(text->second.lines, out);
    else
      out.push_back(line);
  }
}

bool Has(const Block &block, const std::string &word) {
  return std::find(block.words.begin(), block.words.end(), word) != block.words.end();
}

std::string Content(const Block &block) {
  const auto from = std::find(block.words.begin(), block.words.end(), "from");
  if (from != block.words.end()) return SourceFile(from[1]);
  std::vector<std::string> lines;
  if (Has(block, "probe")) lines = Lines(ProbeTiles());
  Expand(block.lines, lines);
  std::string bytes;
  const std::string end = Has(block, "crlf") ? "\r\n" : "\n";
  for (const std::string &line : lines) bytes += Unescape(line) + end;
  if (Has(block, "noeol") && !bytes.empty()) bytes.resize(bytes.size() - end.size());
  return bytes;
}

std::string Hex(int color) {
  char text[8];
  std::snprintf(text, sizeof text, "%06X", color);
  return text;
}

// A block that gives a file or the answers may stand several times in a case:
// the case then runs once with each of them, expecting the same outcome.
std::string Key(const Block &block) {
  const std::string &kind = block.words[0];
  return kind == "answers" ? kind : kind == "file" ? kind + " " + block.words.at(1) : "";
}

void RunCase(const std::vector<const Block *> &blocks) {
  ToolRun run;
  const std::string tiles = ProbeTiles();
  for (const char *set : {"graphics_original.txt", "graphics_original_bd2.txt",
                          "graphics_ghost.txt", "graphics_pumpkin.txt",
                          "graphics_ghost_pumpkin.txt", "graphics_space.txt", "graphics_santa.txt"})
    run.files[set] = tiles;
  run.files["html_structure.txt"] = Content({{"structure", "noeol"}, {"{structure}"}});
  run.input = "caves.bd\n1\nb\n\n";
  std::string transcript;
  int exitStatus = 0;
  std::set<std::string> written;
  for (const Block *b : blocks) {
    const std::string &kind = b->words[0];
    if (kind == "file") run.files[b->words.at(1)] = Content(*b);
    if (kind == "folder") run.folders.push_back(b->words.at(1));
    if (kind == "absent")
      for (std::size_t i = 1; i < b->words.size(); ++i) run.files.erase(b->words[i]);
    if (kind == "answers") run.input = Content(*b);
    if (kind == "arguments") run.arguments.assign(b->words.begin() + 1, b->words.end());
    if (kind == "transcript") transcript = Content(*b);
    if (kind == "exit") exitStatus = std::stoi(b->words.at(1));
    if (kind == "written") written.insert(b->words.begin() + 1, b->words.end());
  }
  for (const Block *b : blocks)
    for (std::size_t i = 0; b->words[0] == "replace" && i < b->lines.size(); i += 2) {
      ASSERT_LT(i + 1, b->lines.size()) << "a replace block holds pairs of lines";
      std::string &bytes = run.files[b->words.at(1)];
      const std::string from = Unescape(b->lines[i]);
      const std::size_t at = bytes.find(from);
      ASSERT_NE(at, std::string::npos) << from;
      bytes.replace(at, from.size(), Unescape(b->lines[i + 1]));
    }
  const ToolResult result = RunTool(run);
  EXPECT_EQ(result.output, transcript);
  EXPECT_EQ(result.exitStatus, exitStatus);
  std::set<std::string> names;
  for (const auto &file : result.written) names.insert(file.first);
  EXPECT_EQ(names, written);
  for (const Block *b : blocks) {
    const std::string &kind = b->words[0];
    if (kind != "page" && kind != "grid" && kind != "colors") continue;
    const auto file = result.written.find(b->words.at(1));
    if (file == result.written.end()) {
      ADD_FAILURE() << kind << " of " << b->words[1] << ", which was not written";
      continue;
    }
    if (kind == "page") {
      EXPECT_EQ(file->second, Content(*b)) << b->words[1];
    }
    if (kind == "grid") {
      std::vector<std::string> lines;
      Expand(b->lines, lines);
      EXPECT_EQ(ReadGrid(file->second), lines) << b->words[1];
    }
    if (kind == "colors") {
      std::vector<std::string> colors;
      for (int slot : CellColors(file->second, 0, 0)) colors.push_back(Hex(slot));
      EXPECT_EQ(colors, std::vector<std::string>(b->words.begin() + 2, b->words.end()));
    }
  }
}

class Cases : public testing::TestWithParam<Case> {};

TEST_P(Cases, Run) {
  const Case &c = GetParam();
  std::map<std::string, int> counts;
  for (const Block &b : c.blocks) ++counts[Key(b)];
  std::string varying;
  for (const auto &[key, count] : counts)
    if (!key.empty() && count > 1) varying = key;
  int variant = 0;
  do {
    SCOPED_TRACE(c.title +
                 (varying.empty() ? "" : ", " + varying + " " + std::to_string(variant + 1)));
    std::vector<const Block *> blocks;
    int seen = 0;
    bool kept = true; // a replace block goes with the file block before it
    for (const Block &b : c.blocks) {
      if (Key(b) == varying && !varying.empty()) kept = seen++ == variant;
      if (kept || (Key(b) != varying && b.words[0] != "replace")) blocks.push_back(&b);
    }
    RunCase(blocks);
  } while (!varying.empty() && ++variant < counts[varying]);
}

INSTANTIATE_TEST_SUITE_P(, Cases, testing::ValuesIn(LoadCases()),
                         [](const testing::TestParamInfo<Case> &param) {
                           return param.param.name;
                         });

} // namespace
