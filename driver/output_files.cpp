// How a run writes its files: under a temporary name, renamed once whole.
#include "driver/output_files.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include "driver/windows_api.h"
#endif

namespace fs = std::filesystem;

namespace {

// The outputs between OpenOutput and CommitOutput or DiscardOutput.
std::vector<OutputFile *> OpenOutputs;

// Where no file of that name stands, or one that may be written, the output
// may replace it; a folder or a write-protected file refuses it now, as it
// would refuse being written over, rather than at the rename.
bool MayReplace(const std::string &name) {
  std::FILE *existing = std::fopen(name.c_str(), "r+b");
  if (existing == nullptr) return errno == ENOENT;
  std::fclose(existing);
  return true;
}

// Renames the temporary file over the output, replacing a file of that name.
bool MoveOver(const std::string &temporary, const std::string &name) {
#ifdef _WIN32
  return MoveFileExA(temporary.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  return std::rename(temporary.c_str(), name.c_str()) == 0;
#endif
}

// Names are bytes: on Windows UTF-8, the code page the tool runs with, and
// elsewhere passed on as they are.
fs::path PathOf(const std::string &name) {
#ifdef _WIN32
  return fs::path(std::u8string(name.begin(), name.end()));
#else
  return fs::path(name);
#endif
}

std::string NameOf(const fs::path &path) {
#ifdef _WIN32
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
#else
  return path.string();
#endif
}

// Closes the stream; false when a write or the close failed.
bool CloseStream(OutputFile &file) {
  std::FILE *stream = file.Stream;
  file.Stream = nullptr;
  OpenOutputs.erase(std::remove(OpenOutputs.begin(), OpenOutputs.end(), &file), OpenOutputs.end());
  const bool written = std::fflush(stream) == 0 && std::ferror(stream) == 0;
  return std::fclose(stream) == 0 && written;
}

} // namespace

bool OpenOutput(OutputFile &file, const std::string &name, std::string_view temporaryName) {
  if (!MayReplace(name)) return false;
  file.Name = name;
  file.TemporaryName = temporaryName;
  file.Stream = std::fopen(std::string(temporaryName).c_str(), "wb");
  if (file.Stream == nullptr) return false;
  OpenOutputs.push_back(&file);
  return true;
}

bool CommitOutput(OutputFile &file) {
  const std::string temporary(file.TemporaryName);
  if (CloseStream(file) && MoveOver(temporary, file.Name)) return true;
  std::remove(temporary.c_str());
  return false;
}

void DiscardOutput(OutputFile &file) {
  if (file.Stream == nullptr) return;
  CloseStream(file);
  std::remove(std::string(file.TemporaryName).c_str());
}

void CommitOpenOutputs() {
  while (!OpenOutputs.empty()) CommitOutput(*OpenOutputs.back());
}

bool SameFile(const std::string &first, const std::string &second) {
  std::error_code error;
  return fs::equivalent(PathOf(first), PathOf(second), error);
}

std::vector<std::string> NamesInFolder() {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator entry(".", error), end; !error && entry != end;
       entry.increment(error))
    names.push_back(NameOf(entry->path().filename()));
  return names;
}
