// How a run writes its files: under a name of its own, renamed once whole.
#include "driver/output_files.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <new>

#include "driver/utf8_text.h"
#include "driver/windows_api.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr std::string_view UnfinishedPrefix = "grottoprint-unfinished-";
constexpr std::string_view UnfinishedSuffix = ".tmp";
constexpr std::string_view TagDigits = "0123456789abcdef";
constexpr std::size_t TagLength = 8;
// Names are drawn at random, so a taken one is rare and several in a row mean
// that no file can be created here.
constexpr int CreationTries = 16;

// A name for an unfinished file that no other run is likely to draw.
std::string DrawUnfinishedName() {
  static std::mt19937 generator = [] {
    std::random_device device;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq seed{device(), device(), static_cast<unsigned>(now)};
    return std::mt19937(seed);
  }();
  const auto tag = static_cast<std::uint32_t>(generator());
  std::string name(UnfinishedPrefix);
  for (std::size_t digit = TagLength; digit-- > 0;) name += TagDigits[(tag >> (4 * digit)) & 0xF];
  return name + std::string(UnfinishedSuffix);
}

// Where no file of that name stands, or one that may be written, the output
// may replace it; a folder or a write-protected file refuses it now, as it
// would refuse being written over, rather than at the rename.
bool MayReplace(const std::string &name) {
  std::FILE *existing = std::fopen(name.c_str(), "r+b");
  if (existing == nullptr) return errno == ENOENT;
  std::fclose(existing);
  return true;
}

enum class Creation { Created, Taken, Failed };

#ifdef _WIN32

HANDLE HandleOf(std::intptr_t hold) {
  return reinterpret_cast<HANDLE>(hold);
}

// Marks the file to go when its last handle closes.
void MarkForRemoval(HANDLE handle) {
  FILE_DISPOSITION_INFO disposition{TRUE};
  SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition);
}

// The file is opened sharing reads only: while any handle of it is open, no
// other run can delete or rename it, and that is how a run tells a file being
// written from a leftover. The second handle keeps it so while the stream closes.
Creation CreateHeld(OutputFile &file) {
  const HANDLE handle =
      CreateFileA(file.UnfinishedName.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError(); // a file of that name, or one on its way out
    return error == ERROR_FILE_EXISTS || error == ERROR_ACCESS_DENIED ? Creation::Taken
                                                                      : Creation::Failed;
  }
  HANDLE hold = nullptr;
  const HANDLE process = GetCurrentProcess();
  const int descriptor =
      DuplicateHandle(process, handle, process, &hold, 0, FALSE, DUPLICATE_SAME_ACCESS)
          ? _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_WRONLY | _O_BINARY)
          : -1;
  file.Stream = descriptor >= 0 ? _fdopen(descriptor, "wb") : nullptr;
  if (file.Stream != nullptr) {
    file.Hold = reinterpret_cast<std::intptr_t>(hold);
    return Creation::Created;
  }
  MarkForRemoval(handle);
  if (descriptor >= 0)
    _close(descriptor);
  else
    CloseHandle(handle);
  if (hold != nullptr) CloseHandle(hold);
  return Creation::Failed;
}

// Renamed through the held handle, so that the file is never free for another
// run to take; a name in UTF-8, the code page the tool runs with.
bool RenameHeld(const OutputFile &file) {
  const std::u16string target = Utf8ToUtf16(file.Name);
  const std::size_t nameBytes = target.size() * sizeof(WCHAR);
  std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes); // a NUL to spare
  auto *info = new (buffer.data()) FILE_RENAME_INFO{};
  info->ReplaceIfExists = TRUE;
  info->FileNameLength = static_cast<DWORD>(nameBytes);
  std::memcpy(info->FileName, target.data(), nameBytes);
  return SetFileInformationByHandle(HandleOf(file.Hold), FileRenameInfo, info,
                                    static_cast<DWORD>(buffer.size())) != 0;
}

void RemoveHeld(const OutputFile &file) {
  MarkForRemoval(HandleOf(file.Hold));
}

void Release(OutputFile &file) {
  CloseHandle(HandleOf(file.Hold));
  file.Hold = -1;
}

// A file that another run holds open refuses to be deleted.
void RemoveIfUnheld(const std::string &name) {
  DeleteFileA(name.c_str());
}

// Names are bytes: on Windows UTF-8, the code page the tool runs with.
fs::path PathOf(const std::string &name) {
  return fs::path(std::u8string(name.begin(), name.end()));
}

std::string NameOf(const fs::path &path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

#else

// True when `name` is still the regular file open as `descriptor`.
bool StillNamed(int descriptor, const std::string &name) {
  struct stat open {};
  struct stat named {};
  return fstat(descriptor, &open) == 0 && lstat(name.c_str(), &named) == 0 &&
         S_ISREG(open.st_mode) && open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// The run holds a lock on the file from its creation on. Another run's
// clean-up may take the lock first, in the moment between the two, and remove
// the file: then the name no longer leads to this file, and another is drawn.
// Where the file system keeps no locks, no run removes any file either.
Creation CreateHeld(OutputFile &file) {
  const char *name = file.UnfinishedName.c_str();
  const int hold = open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (hold < 0) return errno == EEXIST ? Creation::Taken : Creation::Failed;
  flock(hold, LOCK_EX);
  if (!StillNamed(hold, file.UnfinishedName)) {
    close(hold);
    return Creation::Taken;
  }
  const int descriptor = fcntl(hold, F_DUPFD_CLOEXEC, 0);
  file.Stream = descriptor >= 0 ? fdopen(descriptor, "wb") : nullptr;
  if (file.Stream != nullptr) {
    file.Hold = hold;
    return Creation::Created;
  }
  if (descriptor >= 0) close(descriptor);
  std::remove(name);
  close(hold);
  return Creation::Failed;
}

bool RenameHeld(const OutputFile &file) {
  return std::rename(file.UnfinishedName.c_str(), file.Name.c_str()) == 0;
}

void RemoveHeld(const OutputFile &file) {
  std::remove(file.UnfinishedName.c_str());
}

void Release(OutputFile &file) {
  close(static_cast<int>(file.Hold));
  file.Hold = -1;
}

// A file whose lock another run holds is in use. The name is checked again
// once locked: the run that held it may have renamed it in the meantime.
void RemoveIfUnheld(const std::string &name) {
  const int descriptor = open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return;
  if (flock(descriptor, LOCK_EX | LOCK_NB) == 0 && StillNamed(descriptor, name))
    std::remove(name.c_str());
  close(descriptor);
}

// Names are bytes, passed on as they are.
fs::path PathOf(const std::string &name) {
  return fs::path(name);
}

std::string NameOf(const fs::path &path) {
  return path.string();
}

#endif

// Closes the stream; false when a write or the close failed. The file stays held.
bool CloseStream(OutputFile &file) {
  std::FILE *stream = file.Stream;
  file.Stream = nullptr;
  const bool written = std::fflush(stream) == 0 && std::ferror(stream) == 0;
  return std::fclose(stream) == 0 && written;
}

} // namespace

bool IsUnfinishedName(std::string_view name) {
  return name.size() == UnfinishedPrefix.size() + TagLength + UnfinishedSuffix.size() &&
         name.starts_with(UnfinishedPrefix) && name.ends_with(UnfinishedSuffix) &&
         name.substr(UnfinishedPrefix.size(), TagLength).find_first_not_of(TagDigits) ==
             std::string_view::npos;
}

bool OpenOutput(OutputFile &file, const std::string &name) {
  if (!MayReplace(name)) return false;
  file.Name = name;
  for (int attempt = 0; attempt < CreationTries; ++attempt) {
    file.UnfinishedName = DrawUnfinishedName();
    const Creation creation = CreateHeld(file);
    if (creation != Creation::Taken) return creation == Creation::Created;
  }
  return false;
}

bool CommitOutput(OutputFile &file) {
  if (file.Stream == nullptr) return false;
  if (CloseStream(file) && RenameHeld(file)) {
    Release(file);
    return true;
  }
  DiscardOutput(file);
  return false;
}

void DiscardOutput(OutputFile &file) {
  if (file.Stream != nullptr) CloseStream(file);
  if (file.Hold == -1) return;
  RemoveHeld(file);
  Release(file);
}

void RemoveLeftovers() {
  for (const std::string &name : NamesInFolder())
    if (IsUnfinishedName(name)) RemoveIfUnheld(name);
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
