// The benchmark's copying baselines: copies every file of the folder it is
// given into the current folder, each file read whole into memory and written
// in a single call, as grottoprint writes its pictures. Like the tool it first
// reads its standard input, where the benchmark pipes the same answers. With
// --safe each file is written as grottoprint replaces one: under a temporary
// name, renamed over the old file once closed.
//
//   copy_outputs [--safe] SOURCE_FOLDER
//
// Exit status: 0 when every file was copied, 1 when one failed, 2 on wrong use.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

bool ReadWhole(const fs::path &path, std::vector<char> &bytes) {
  std::error_code failed;
  const std::uintmax_t size = fs::file_size(path, failed);
  if (failed) return false;
  bytes.resize(static_cast<std::size_t>(size));
  std::FILE *file = std::fopen(path.string().c_str(), "rb");
  if (file == nullptr) return false;
  const bool read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && read;
}

bool WriteWhole(const fs::path &path, const std::vector<char> &bytes) {
  std::FILE *file = std::fopen(path.string().c_str(), "wb");
  if (file == nullptr) return false;
  std::setvbuf(file, nullptr, _IONBF, 0);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// Writes the file under a temporary name and renames it over `path`.
bool ReplaceWhole(const fs::path &path, const std::vector<char> &bytes) {
  const fs::path temporary = "copy-unfinished.tmp";
  std::error_code failed;
  if (!WriteWhole(temporary, bytes)) return false;
  fs::rename(temporary, path, failed);
  return !failed;
}

} // namespace

int main(int argc, char **argv) {
  const bool safe = argc == 3 && std::string(argv[1]) == "--safe";
  if (argc != 2 && !safe) {
    std::fputs("usage: copy_outputs [--safe] SOURCE_FOLDER\n", stderr);
    return 2;
  }
  const char *source = argv[argc - 1];
  while (std::getchar() != EOF) {
  }
  std::vector<char> bytes;
  std::error_code failed;
  for (const fs::directory_entry &entry : fs::directory_iterator(source, failed)) {
    if (!entry.is_regular_file()) continue;
    const fs::path target = entry.path().filename();
    if (!ReadWhole(entry.path(), bytes) ||
        !(safe ? ReplaceWhole(target, bytes) : WriteWhole(target, bytes))) {
      std::fprintf(stderr, "copy_outputs: cannot copy %s\n", entry.path().string().c_str());
      return 1;
    }
  }
  if (!failed) return 0;
  std::fprintf(stderr, "copy_outputs: cannot read the folder %s\n", source);
  return 1;
}
