// Fuzz targets: one untrusted file of a run - the game file, the graphics file
// or the page template - comes from the fuzzer, the other two are fixed, and
// the whole conversion runs in this process. FUZZ_GAME_FILE, FUZZ_GRAPHICS_FILE
// or FUZZ_STRUCTURE_FILE names the file under test.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "driver/console_dialog.h"
#include "driver/reports.h"
#include "driver/run_sequence.h"
#include "picture/graphics_file.h"

namespace {

namespace fs = std::filesystem;

constexpr const char *GameName = "caves.bd";
constexpr const char *GraphicsName = "graphics.txt";
constexpr const char *StructureName = "html_structure.txt";

// Thrown by the replaced process ending, so that an error report ends one
// input instead of the fuzzer.
struct RunEnded {};

[[noreturn]] void EndRun(int) {
  throw RunEnded{};
}

void WriteInput(const char *name, const std::uint8_t *data, std::size_t size) {
  std::ofstream(name, std::ios::binary)
      .write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
}

// A fresh process that answered the dialog with "png".
void ResetRun() {
  ResetProcessState();
  PictureExtension = "png";
}

// The temporary folder the runs work in, removed when the fuzzer ends.
std::string WorkFolder;

void RemoveWorkFolder() {
  std::error_code ignored;
  fs::remove_all(WorkFolder, ignored);
}

// Removes every file a run wrote; a game named "" writes ".html", which has no
// extension to go by, so only the three input files are kept.
void RemoveOutputs() {
  std::vector<fs::path> written;
  for (const fs::directory_entry &entry : fs::directory_iterator(fs::current_path())) {
    const std::string name = entry.path().filename().string();
    if (name != GameName && name != GraphicsName && name != StructureName)
      written.push_back(entry.path());
  }
  for (const fs::path &path : written) fs::remove_all(path);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  // Error reports wait for ENTER and every message goes to the console; the
  // fuzzer needs neither.
  if (std::freopen("/dev/null", "r", stdin) == nullptr) std::abort();
  if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
  WorkFolder = (fs::temp_directory_path() / "grottoprint-fuzz-XXXXXX").string();
  if (mkdtemp(WorkFolder.data()) == nullptr || chdir(WorkFolder.c_str()) != 0) std::abort();
  std::atexit(RemoveWorkFolder);
  // The two files not under test: a small game of both kinds of cave, and the
  // shipped graphics set and page template.
  const fs::path source = GROTTOPRINT_SOURCE_DIR;
  fs::copy_file(source / "fuzz/seeds/game/two_caves.bd", GameName);
  fs::copy_file(source / "data/graphics_original.txt", GraphicsName);
  fs::copy_file(source / "data/html_structure.txt", StructureName);
  SetProcessEnding(EndRun);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
#if defined(FUZZ_GAME_FILE)
  WriteInput(GameName, data, size);
#elif defined(FUZZ_GRAPHICS_FILE)
  WriteInput(GraphicsName, data, size);
#elif defined(FUZZ_STRUCTURE_FILE)
  WriteInput(StructureName, data, size);
#else
#error "name the file under test"
#endif
  ResetRun();
  try {
    if (!OpenTextLines(InputFile, GameName) || !OpenTextLines(GraphicsFile, GraphicsName))
      std::abort();
    ReadGraphicsFile();
    WalkDocument();
  } catch (const RunEnded &) {
  }
  ResetRun();
  RemoveOutputs();
  return 0;
}
