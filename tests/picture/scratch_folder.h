// Test support for the picture units: a fresh temporary folder, and running
// code in a forked child whose console output and exit status are captured.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// A new empty folder under the system's temporary folder, removed with all it
// holds at the end of the scope. With `enter` the process works inside it for
// that time.
class ScratchFolder {
public:
  explicit ScratchFolder(bool enter = false);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder &) = delete;
  ScratchFolder &operator=(const ScratchFolder &) = delete;

  const std::filesystem::path &Path() const { return path_; }

  // Writes the bytes into the named file of the folder; returns its path.
  std::filesystem::path Write(const std::string &name, const std::string &bytes) const;

private:
  std::filesystem::path path_;
  std::optional<std::filesystem::path> previous_;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path &path);

struct ChildOutcome {
  int exitStatus = -1; // 128 + signal number when a signal ended the child
  std::string output;  // what the child wrote to standard output
};

// Runs `body` in a forked child in the current folder. With `fileSizeLimit`
// the child may write no file larger than that many bytes, and an oversized
// write fails instead of raising SIGXFSZ. A body that returns ends with 99.
ChildOutcome RunInChild(const std::function<void()> &body,
                        std::optional<std::uint64_t> fileSizeLimit = std::nullopt);
