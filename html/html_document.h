// The HTML document: its template read from "html_structure.txt", and the
// document written piece by piece with the template's fields filled in.
#pragma once

#include <string>
#include <string_view>

#include "driver/output_files.h"

struct HtmlPieces {
  std::string Head;      // written once at the start, fields filled in
  std::string CaveEntry; // written once per cave, fields filled in
  std::string Tail;      // written once at the end, as it stands
};

extern HtmlPieces HtmlTemplate;
extern OutputFile HtmlFile; // open from OpenHtmlDocument to CloseHtmlDocument

// The template's name, and the page's: the game's name plus ".html".
inline constexpr std::string_view StructureFileName = "html_structure.txt";
std::string HtmlDocumentName();

// Reads "html_structure.txt" of the current folder into HtmlTemplate. The
// file is a preamble holding exactly eight "#", then "#HTML-begin#" head
// "#Caves-begin#" entry "#Caves-end#" tail "#HTML-end#"; the last marker may
// end the file without its closing "#". Markers are compared whole and
// case-sensitively. Every fault of the file ends the run with its error.
void ReadHtmlStructure();

// Creates the game's document and writes the head. A name holding "/", "\" or
// a NUL byte would not name a file of the current folder, so it fails like any
// other creation. The page takes its own name when CloseHtmlDocument is done,
// or when an error stops the run: then it ends after the last cave written.
// A failed write of the page keeps the old one.
void OpenHtmlDocument();

// Writes the cave-entry template for the cave just converted.
void WriteCaveEntry();

// Writes the tail as it stands, closes the document and gives it its name.
void CloseHtmlDocument();

// Writes bytes to HtmlFile; a failed write is found by the check that follows
// each piece of the document.
void WriteHtmlText(std::string_view text);
