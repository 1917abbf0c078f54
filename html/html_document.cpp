// The HTML document: its template read from "html_structure.txt", and the
// document written piece by piece with the template's fields filled in.
#include "html/html_document.h"

#include "bdcff/game_header.h"
#include "driver/output_names.h"
#include "driver/reports.h"
#include "html/cave_fields.h"

#include <array>

HtmlPieces HtmlTemplate;
OutputFile HtmlFile;

namespace {

constexpr std::string_view DocumentExtension = ".html";
constexpr std::string_view HtmlBeginMarker = "HTML-begin";
constexpr std::string_view CavesBeginMarker = "Caves-begin";
constexpr std::string_view CavesEndMarker = "Caves-end";
constexpr std::string_view HtmlEndMarker = "HTML-end";
constexpr int PreambleMarks = 9; // the preamble's eight "#" and the first of "#HTML-begin#"
constexpr char PieceEnd = '#';

// The structure file's bytes, read piece by piece.
struct PieceStream {
  std::string bytes;
  std::size_t next = 0;
  bool ended = false;  // a piece ran to the end of the bytes
  bool broken = false; // the file failed to read before its end
};

// Reads the whole structure file; false when it cannot be opened or nothing
// of it can be read (a directory, for one). A file that fails part way keeps
// what was read and is marked broken.
bool LoadStructureFile(PieceStream &stream) {
  std::FILE *file = std::fopen(std::string(StructureFileName).c_str(), "rb");
  if (file == nullptr) return false;
  std::array<char, 1 << 16> chunk{};
  std::size_t count = 0;
  while ((count = std::fread(chunk.data(), 1, chunk.size(), file)) > 0)
    stream.bytes.append(chunk.data(), count);
  stream.broken = std::ferror(file) != 0;
  std::fclose(file);
  return !(stream.broken && stream.bytes.empty());
}

// Everything up to the next "#", which is consumed; at the end of the bytes
// the rest, and the stream is marked ended.
std::string ReadPiece(PieceStream &stream) {
  const std::size_t start = stream.next;
  const std::size_t mark = stream.bytes.find(PieceEnd, start);
  if (mark == std::string::npos) {
    stream.next = stream.bytes.size();
    stream.ended = true;
    return stream.bytes.substr(start);
  }
  stream.next = mark + 1;
  return stream.bytes.substr(start, mark - start);
}

// Reads a piece of content closed by "#" and then the marker that must follow.
std::string ReadContentAndMarker(PieceStream &stream, std::string_view marker, Error missing) {
  std::string content = ReadPiece(stream);
  // Bytes that end inside the content leave an empty piece, which is no marker.
  if (ReadPiece(stream) != marker) ReportError(missing);
  return content;
}

// Writes `text` with each "[" field replaced by its value.
void WriteWithFields(const std::string &text) {
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t bracket = text.find('[', position);
    const std::size_t runEnd = bracket == std::string::npos ? text.size() : bracket;
    WriteHtmlText(std::string_view(text).substr(position, runEnd - position));
    position = runEnd;
    if (position == text.size()) return;
    ++position;
    WriteField(text, position);
  }
}

// A write that failed earlier shows when the buffered bytes are handed over.
// The error then keeps the old page: a page that failed is never committed.
void CheckHtmlWrites() {
  if (std::fflush(HtmlFile.Stream) != 0 || std::ferror(HtmlFile.Stream) != 0)
    ReportError(Error::HtmlCreationFailed);
}

} // namespace

void ReadHtmlStructure() {
  PieceStream stream;
  if (!LoadStructureFile(stream)) ReportError(Error::HtmlStructureNotFound);
  ReportProgress(Progress::ReadingHtmlStructure);
  for (int piece = 0; piece < PreambleMarks; ++piece) ReadPiece(stream);
  if (ReadPiece(stream) != HtmlBeginMarker) ReportError(Error::HtmlBeginNotFound);
  HtmlTemplate.Head = ReadContentAndMarker(stream, CavesBeginMarker, Error::CavesBeginNotFound);
  HtmlTemplate.CaveEntry = ReadContentAndMarker(stream, CavesEndMarker, Error::CavesEndNotFound);
  HtmlTemplate.Tail = ReadContentAndMarker(stream, HtmlEndMarker, Error::HtmlEndNotFound);
  // The last marker may end the file, but not a file that broke off there.
  if (stream.ended && stream.broken) ReportError(Error::HtmlEndNotFound);
}

std::string HtmlDocumentName() {
  return GameRecord.Name + std::string(DocumentExtension);
}

void OpenHtmlDocument() {
  if (!NamesFileHere(GameRecord.Name) || !OpenOutput(HtmlFile, HtmlDocumentName()))
    ReportError(Error::HtmlCreationFailed);
  WriteWithFields(HtmlTemplate.Head);
  CheckHtmlWrites();
}

void WriteCaveEntry() {
  WriteWithFields(HtmlTemplate.CaveEntry);
  CheckHtmlWrites();
}

void CloseHtmlDocument() {
  WriteHtmlText(HtmlTemplate.Tail);
  CheckHtmlWrites();
  if (!CommitOutput(HtmlFile)) ReportError(Error::HtmlCreationFailed);
}

void WriteHtmlText(std::string_view text) {
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), HtmlFile.Stream);
}
