// Runs the built grottoprint in a fresh temporary folder with given files and
// given bytes on standard input, and captures what it printed, its exit status
// and every file the folder holds afterwards.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct ToolRun {
  std::map<std::string, std::string> files;   // name -> bytes, put in the folder first
  std::vector<std::string> folders;           // empty sub-folders to create
  std::string input;                          // bytes on standard input
  std::vector<std::string> arguments;         // command-line arguments after the name
  std::optional<std::uint64_t> fileSizeLimit; // RLIMIT_FSIZE in bytes, SIGXFSZ ignored
};

struct ToolResult {
  std::string output;                         // standard output
  std::string errors;                         // standard error
  int exitStatus = -1;                        // 128 + signal number when a signal ended it
  std::map<std::string, std::string> files;   // every file afterwards
  std::map<std::string, std::string> written; // files that are new or changed
};

ToolResult RunTool(const ToolRun &run);

// The bytes of a file of the project's source tree, e.g. "data/html_structure.txt".
std::string SourceFile(const std::string &relativePath);

// Console texts exactly as the tool prints them, to compose whole transcripts.
extern const std::string BannerText;            // the nine banner lines
extern const std::string InputQuestionText;     // the first question and its prompt marker
extern const std::string GraphicsMenuText;      // the menu and its prompt marker
extern const std::string CustomQuestionText;    // the custom graphics question and marker
extern const std::string ExtensionQuestionText; // the extension question and marker
extern const std::string SeparatorText;         // forty equals signs

// Banner and dialog of a run whose answers pass every question with a menu
// choice of 1 to 7, ending with the separator line.
extern const std::string DialogText;

// The summary of a run that converted `caves` caves.
std::string SummaryText(int caves);

// An error report: "Error: ", the text, and the request to press ENTER.
std::string ErrorText(const std::string &message);

// A warning line.
std::string WarningText(const std::string &message);

// A graphics file in the tool's format: sixteen sections in item order, tile k
// filled with the colour digit of k mod 5 unless `tileRows` gives its rows.
std::string PlainGraphicsFile();

// The files of a small valid run: the game "caves.bd", every named graphics
// set and the structure file, so that any menu choice can be answered.
std::map<std::string, std::string> TinyGameFiles();

// The answers that convert the tiny game: "caves.bd", set 1, "bmp", ENTER.
extern const std::string TinyGameAnswers;

// Runs the tool on TinyGameFiles with the given files put in their place.
ToolResult ConvertTinyGame(const std::map<std::string, std::string> &replaced = {},
                           std::optional<std::uint64_t> fileSizeLimit = std::nullopt);

// What the tool prints between the dialog's separator and the summary when it
// converts the game of TinyGameFiles, and the number of caves it holds.
extern const std::string TinyGameConversionText;
inline constexpr int TinyGameCaves = 1;
