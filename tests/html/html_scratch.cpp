// A fresh current folder per test for the HTML document's units.
#include "html/html_scratch.h"

#include "bdcff/cave_attributes.h"
#include "bdcff/document_walker.h"
#include "bdcff/game_header.h"
#include "driver/console_dialog.h"
#include "html/html_document.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A death test's child runs the test anew in a process of its own; it finds
// its parent's folder here, so that both see the same files.
constexpr const char *SharedFolderVariable = "GROTTOPRINT_HTML_SCRATCH";

} // namespace

void HtmlScratch::SetUp() {
  home_ = fs::current_path();
  const char *shared = std::getenv(SharedFolderVariable);
  ownsFolder_ = shared == nullptr;
  if (ownsFolder_) {
    std::string pattern = (fs::temp_directory_path() / "grottoprint-html-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    setenv(SharedFolderVariable, pattern.c_str(), 1);
  } else {
    folder_ = shared;
  }
  fs::current_path(folder_);
  GameRecord = GameProperties{};
  CaveRecord = CaveProperties{};
  CaveCount = 0;
  PictureExtension = "bmp";
  HtmlTemplate = HtmlPieces{};
  HtmlFile = nullptr;
}

void HtmlScratch::TearDown() {
  if (HtmlFile != nullptr) std::fclose(HtmlFile);
  HtmlFile = nullptr;
  fs::current_path(home_);
  if (!ownsFolder_) return;
  unsetenv(SharedFolderVariable);
  fs::remove_all(folder_);
}

void WriteFile(const std::string &name, const std::string &bytes) {
  std::ofstream out(name, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << name;
}

std::string ReadFile(const std::string &name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string StructureFile(const std::string &head, const std::string &entry,
                          const std::string &tail) {
  return "Markers: #HTML-begin# #Caves-begin# #Caves-end# #HTML-end#\n#HTML-begin#" + head +
         "#Caves-begin#" + entry + "#Caves-end#" + tail + "#HTML-end#";
}

std::string ExactRegex(const std::string &text) {
  std::string pattern = "^";
  for (const char c : text) {
    if (std::string_view("\\.^$|()[]{}*+?").find(c) != std::string_view::npos) pattern += '\\';
    pattern += c;
  }
  return pattern + "$";
}

void WithOutputOnStderr(const std::function<void()> &statement) {
  std::fflush(stdout);
  dup2(STDERR_FILENO, STDOUT_FILENO);
  statement();
}

void LimitFileSize(std::size_t bytes) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{bytes, bytes};
  setrlimit(RLIMIT_FSIZE, &limit);
}
