// The bracketed fields of the HTML template: "[CaveName]", "[Filename]", ...
#include "html/cave_fields.h"

#include "bdcff/cave_attributes.h"
#include "bdcff/document_walker.h"
#include "bdcff/game_header.h"
#include "driver/console_dialog.h"
#include "driver/output_names.h"
#include "driver/reports.h"
#include "driver/utf8_text.h"
#include "html/html_document.h"

#include <iterator>
#include <string_view>

namespace {

constexpr std::string_view IntermissionType = "Intermission";
constexpr std::string_view CaveType = "Cave";

// Text from the game or cave file is written as text, never as markup: a
// remark holding a tag shows the tag instead of running it.
void WriteEscaped(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
    case '&':
      escaped += "&amp;";
      break;
    case '<':
      escaped += "&lt;";
      break;
    case '>':
      escaped += "&gt;";
      break;
    case '"':
      escaped += "&quot;";
      break;
    case '\'':
      escaped += "&#39;";
      break;
    default:
      escaped += c;
    }
  }
  WriteHtmlText(escaped);
}

void WriteNumber(std::int32_t value) {
  WriteHtmlText(std::to_string(value));
}

// Values a file may leave out are written only when given, so that a
// template can place them without showing a placeholder.
void WriteIfPositive(std::int32_t value) {
  if (value > 0) WriteNumber(value);
}
void WriteIfNotNegative(std::int32_t value) {
  if (value >= 0) WriteNumber(value);
}

// A file name as an address relative to the page, which leads a browser to
// that file's bytes whatever the game is called. A browser reads "#" as the
// start of a fragment, "?" of a query and "%" as the start of an escape, drops
// tabs and line ends, and reads a byte that is no UTF-8 as U+FFFD. Each such
// byte becomes "%" and two hex digits; a well-formed UTF-8 character, and
// every other byte, stays as it is.
std::string AddressOf(std::string_view name) {
  constexpr std::string_view Hex = "0123456789ABCDEF";
  std::string address;
  address.reserve(name.size());
  for (std::size_t position = 0; position < name.size();) {
    const auto byte = static_cast<unsigned char>(name[position]);
    const std::size_t length = Utf8CharacterLength(name, position);
    if (length == 0 || byte < 0x20 || byte == 0x7F ||
        std::string_view("%#?").find(static_cast<char>(byte)) != std::string_view::npos) {
      address += '%';
      address += Hex[byte >> 4];
      address += Hex[byte & 0x0Fu];
      ++position;
    } else {
      address += name.substr(position, length);
      position += length;
    }
  }
  return address;
}

// The picture is always a BMP; the page may name it with another extension.
void WriteFilename() {
  const std::string &picture = CaveRecord.PictureFileName;
  const std::size_t replaced = PictureSuffix.size() - 1; // the suffix after its dot
  const std::size_t kept = picture.size() > replaced ? picture.size() - replaced : 0;
  WriteEscaped(AddressOf(picture.substr(0, kept) + PictureExtension));
}

void WriteLevel() {
  if (GameRecord.Levels > 1) WriteNumber(CaveRecord.Level);
}

void WriteType() {
  WriteHtmlText(CaveRecord.Intermission ? IntermissionType : CaveType);
}

struct Field {
  std::string_view name;
  void (*write)();
};

constexpr Field Fields[] = {
    {"GameName", [] { WriteEscaped(GameRecord.Name); }},
    {"Author", [] { WriteEscaped(GameRecord.Author); }},
    {"Date", [] { WriteEscaped(GameRecord.Date); }},
    {"WWW", [] { WriteEscaped(GameRecord.WWW); }},
    {"GraphicsSet", [] { WriteEscaped(GameRecord.Charset); }},
    {"CharacterSet", [] { WriteEscaped(GameRecord.Fontset); }},
    {"Levels", [] { WriteIfPositive(GameRecord.Levels); }},
    {"Caves", [] { WriteIfPositive(GameRecord.Caves); }},
    {"Filename", WriteFilename},
    {"Screen", [] { WriteNumber(CaveCount); }},
    {"Level", WriteLevel},
    {"Type", WriteType},
    {"Delay", [] { WriteIfNotNegative(CaveRecord.CaveDelay); }},
    {"DiamondsRequired", [] { WriteNumber(CaveRecord.DiamondsRequired); }},
    {"DiamondValue", [] { WriteNumber(CaveRecord.DiamondValue); }},
    {"BonusDiamondValue", [] { WriteNumber(CaveRecord.BonusDiamondValue); }},
    {"CaveName", [] { WriteEscaped(CaveRecord.Name); }},
    {"Time", [] { WriteNumber(CaveRecord.CaveTime); }},
    {"SlimePermeability", [] { WriteEscaped(CaveRecord.SlimePermeability); }},
    {"AmoebaTime", [] { WriteIfNotNegative(CaveRecord.AmoebaTime); }},
    {"MagicWallTime", [] { WriteIfNotNegative(CaveRecord.MagicWallTime); }},
    {"Remark", [] { WriteEscaped(CaveRecord.Remark); }},
};
static_assert(std::size(Fields) == 22);

} // namespace

void WriteField(const std::string &text, std::size_t &position) {
  const std::size_t close = text.find(']', position);
  if (close == std::string::npos) {
    // No field can be named here: the bracket and the rest stay as they are.
    WriteHtmlText("[");
    WriteHtmlText(std::string_view(text).substr(position));
    position = text.size();
    return;
  }
  const std::string_view name = std::string_view(text).substr(position, close - position);
  position = close + 1;
  for (const Field &field : Fields) {
    if (field.name == name) {
      field.write();
      return;
    }
  }
  ReportWarning(Warning::UnknownHtmlField);
}
