// The names of the files a run writes.
#include "driver/output_names.h"

#ifdef _WIN32
#include <algorithm>
#include <array>
#include <cstddef>

#include "driver/utf8_text.h"
#include "driver/windows_api.h"
#endif

namespace {

constexpr std::string_view UnsafeCharacters("/\\\0", 3);

#ifdef _WIN32
bool ForbiddenOnWindows(char c) {
  return static_cast<unsigned char>(c) < 0x20 ||
         std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
}

// Windows also takes the superscript digits 1 to 3 (UTF-8 C2 B9, C2 B2, C2 B3)
// as port numbers.
constexpr std::array<std::string_view, 28> DeviceNames = {
    "CON",         "PRN",         "AUX",         "NUL",        "COM1",        "COM2",
    "COM3",        "COM4",        "COM5",        "COM6",       "COM7",        "COM8",
    "COM9",        "LPT1",        "LPT2",        "LPT3",       "LPT4",        "LPT5",
    "LPT6",        "LPT7",        "LPT8",        "LPT9",       "COM\xC2\xB9", "COM\xC2\xB2",
    "COM\xC2\xB3", "LPT\xC2\xB9", "LPT\xC2\xB2", "LPT\xC2\xB3"};

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The part before the first dot, with trailing blanks dropped as Windows
// drops them, compared with the device names in any case.
bool NamesDevice(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  return std::any_of(DeviceNames.begin(), DeviceNames.end(), [stem](std::string_view device) {
    return std::equal(stem.begin(), stem.end(), device.begin(), device.end(),
                      [](char a, char b) { return Upper(a) == b; });
  });
}
#endif

} // namespace

bool NamesFileHere(std::string_view name) {
  if (name.find_first_of(UnsafeCharacters) != std::string_view::npos) return false;
#ifdef _WIN32
  if (std::any_of(name.begin(), name.end(), ForbiddenOnWindows)) return false;
  if (NamesDevice(name) || !IsUtf8(name)) return false;
  // Windows before 10 version 1903 ignores the manifest's UTF-8 code page;
  // there a name beyond ASCII would reach the disk as other characters.
  const bool ascii = std::all_of(name.begin(), name.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii && GetACP() != CP_UTF8) return false;
#endif
  return true;
}
