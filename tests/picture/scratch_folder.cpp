// Test support for the picture units: temporary folders and forked children.
#include "picture/scratch_folder.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(bool enter) {
  std::string pattern = (fs::temp_directory_path() / "grottoprint-picture-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = name.data();
  if (!enter) return;
  previous_ = fs::current_path();
  fs::current_path(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  if (previous_) fs::current_path(*previous_, ignored);
  fs::remove_all(path_, ignored);
}

fs::path ScratchFolder::Write(const std::string &name, const std::string &bytes) const {
  const fs::path path = path_ / name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::string ReadWholeFile(const fs::path &path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

namespace {

[[noreturn]] void RunChild(int outputFd, const std::function<void()> &body,
                           std::optional<std::uint64_t> fileSizeLimit) {
  dup2(outputFd, STDOUT_FILENO);
  close(outputFd);
  if (fileSizeLimit) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(*fileSizeLimit), static_cast<rlim_t>(*fileSizeLimit)};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(98);
  }
  body();
  std::fflush(stdout);
  _exit(99);
}

} // namespace

ChildOutcome RunInChild(const std::function<void()> &body,
                        std::optional<std::uint64_t> fileSizeLimit) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
  // Buffered output would otherwise be written by both processes.
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    close(pipeFds[0]);
    RunChild(pipeFds[1], body, fileSizeLimit);
  }
  close(pipeFds[1]);
  ChildOutcome outcome;
  char chunk[4096];
  for (ssize_t got; (got = read(pipeFds[0], chunk, sizeof chunk)) > 0;)
    outcome.output.append(chunk, static_cast<std::size_t>(got));
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) outcome.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) outcome.exitStatus = 128 + WTERMSIG(status);
  return outcome;
}
