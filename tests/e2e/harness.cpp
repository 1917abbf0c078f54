// Runs the built grottoprint in a fresh temporary folder.
#include "e2e/harness.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string ReadWhole(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteWhole(const fs::path &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

fs::path MakeScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "grottoprint-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

// In the child: wire the standard streams to files, then run the tool.
[[noreturn]] void StartTool(const fs::path &scratch, const ToolRun &run) {
  const fs::path folder = scratch / "run";
  if (chdir(folder.c_str()) != 0) _exit(126);
  const int in = open((scratch / "stdin").c_str(), O_RDONLY);
  const int out = open((scratch / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int err = open((scratch / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || out < 0 || err < 0) _exit(126);
  dup2(in, STDIN_FILENO);
  dup2(out, STDOUT_FILENO);
  dup2(err, STDERR_FILENO);
  if (run.fileSizeLimit) {
    // Ignoring SIGXFSZ turns a write past the limit into a failed write, as a
    // full disk would, instead of a killed process.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{*run.fileSizeLimit, *run.fileSizeLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  std::vector<char *> argv{const_cast<char *>("grottoprint")};
  for (const std::string &argument : run.arguments)
    argv.push_back(const_cast<char *>(argument.c_str()));
  argv.push_back(nullptr);
  execv(GROTTOPRINT_EXE, argv.data());
  _exit(127);
}

int WaitForTool(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0)
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + WTERMSIG(status);
}

} // namespace

ToolResult RunTool(const ToolRun &run) {
  const fs::path scratch = MakeScratchFolder();
  const fs::path folder = scratch / "run";
  fs::create_directory(folder);
  for (const auto &[name, bytes] : run.files) WriteWhole(folder / name, bytes);
  for (const std::string &name : run.folders) fs::create_directories(folder / name);
  WriteWhole(scratch / "stdin", run.input);

  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) StartTool(scratch, run);

  ToolResult result;
  result.exitStatus = WaitForTool(child);
  result.output = ReadWhole(scratch / "stdout");
  result.errors = ReadWhole(scratch / "stderr");
  for (const fs::directory_entry &entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().filename().string();
    std::string bytes = ReadWhole(entry.path());
    const auto given = run.files.find(name);
    if (given == run.files.end() || given->second != bytes) result.written[name] = bytes;
    result.files[name] = std::move(bytes);
  }
  fs::remove_all(scratch);
  return result;
}

std::string SourceFile(const std::string &relativePath) {
  return ReadWhole(fs::path(GROTTOPRINT_SOURCE_DIR) / relativePath);
}

const std::string BannerText = "***********************************************\n"
                               "*                                             *\n"
                               "*                 Grottoprint                 *\n"
                               "*                    v 1.0                    *\n"
                               "*                                             *\n"
                               "*                  June 2006                  *\n"
                               "*                                             *\n"
                               "***********************************************\n"
                               "\n";

const std::string InputQuestionText = "Enter name of the input file:\n>> ";
const std::string GraphicsMenuText = "Which graphics set will be used?\n"
                                     " 1 = Original (BD1)\n"
                                     " 2 = Original (BD2)\n"
                                     " 3 = Ghost\n"
                                     " 4 = Pumpkin\n"
                                     " 5 = Ghost + Pumpkin\n"
                                     " 6 = Space (BD3)\n"
                                     " 7 = Santa\n"
                                     " 8 = Custom\n"
                                     ">> ";
const std::string CustomQuestionText = "Enter name of the graphics file: \n>> ";
const std::string ExtensionQuestionText =
    "Which extension for the pics in HTML file will be used?\n"
    " b = bmp, g = gif, p = png\n"
    ">> ";
const std::string SeparatorText = "========================================\n";
const std::string DialogText =
    BannerText + InputQuestionText + GraphicsMenuText + ExtensionQuestionText + SeparatorText;

std::string SummaryText(int caves) {
  return SeparatorText + std::to_string(caves) +
         " caves converted. BMP pics created.\n"
         "HTML document written.\n"
         "Press ENTER to exit.\n";
}

std::string ErrorText(const std::string &message) {
  return "Error: " + message + "\nPress ENTER to exit.\n";
}

std::string WarningText(const std::string &message) {
  return "Warning: " + message + "\n";
}

std::string PlainGraphicsFile() {
  static const char *const names[] = {"Rockford",    "Exit",       "Hidden Exit",  "Titanium Wall",
                                      "Empty Space", "Dirt",       "Boulder",      "Diamond",
                                      "Wall",        "Magic Wall", "Growing Wall", "Firefly",
                                      "Butterfly",   "Amoeba",     "Slime",        "Rockford Doll"};
  std::string text = "A plain graphics file for tests.\n";
  int item = 0;
  for (const char *name : names) {
    text += std::string("[") + name + "]\n";
    const char digit = static_cast<char>('0' + item % 5);
    for (int row = 0; row < 16; ++row) text += std::string(16, digit) + "\n";
    ++item;
  }
  return text;
}

std::map<std::string, std::string> TinyGameFiles() {
  std::map<std::string, std::string> files;
  files["caves.bd"] = "[BDCFF]\n"
                      "[game]\n"
                      "Name=Tiny\n"
                      "\n"
                      "[cave]\n"
                      "Name=First\n"
                      "Colors=Black Black Orange Gray1 White\n"
                      "[objects]\n"
                      "Point=3 2 DIAMOND\n"
                      "[/objects]\n"
                      "[/cave]\n"
                      "[/game]\n"
                      "[/BDCFF]\n";
  for (const char *name :
       {"graphics_original.txt", "graphics_original_bd2.txt", "graphics_ghost.txt",
        "graphics_pumpkin.txt", "graphics_ghost_pumpkin.txt", "graphics_space.txt",
        "graphics_santa.txt"})
    files[name] = PlainGraphicsFile();
  files["html_structure.txt"] = "A test page: # # # # # # # # markers\n"
                                "#HTML-begin#<h1>[GameName]</h1>\n"
                                "#Caves-begin#<p>[Screen] [CaveName] [Filename]</p>\n"
                                "#Caves-end#</body>\n"
                                "#HTML-end#";
  return files;
}

const std::string TinyGameAnswers = "caves.bd\n1\nb\n\n";

ToolResult ConvertTinyGame(const std::map<std::string, std::string> &replaced,
                           std::optional<std::uint64_t> fileSizeLimit) {
  ToolRun run;
  run.files = TinyGameFiles();
  for (const auto &[name, bytes] : replaced) run.files[name] = bytes;
  run.input = TinyGameAnswers;
  run.fileSizeLimit = fileSizeLimit;
  return RunTool(run);
}

const std::string TinyGameConversionText = "Reading graphics file...\n"
                                           "Reading input file...\n"
                                           "Name of BD game: Tiny.\n"
                                           "Reading HTML structure file...\n"
                                           "Processing cave 01...\n";
