// How a run writes its files: each picture and the page go to a temporary
// file of the current folder, which takes the output's own name only once it
// is complete and closed. A run stopped at any moment, by a kill, a crash or
// a failed write, so leaves every output either as it was or whole.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

struct OutputFile {
  std::FILE *Stream =
      nullptr;      // the temporary file, from OpenOutput to CommitOutput or DiscardOutput
  std::string Name; // the output's own name
  std::string_view TemporaryName;
};

// The temporary files, one for the picture and one for the page under way.
// Their names say what they hold and are neither an output's nor an input's;
// one left behind by a stopped run is replaced by the next run's.
inline constexpr std::string_view PictureTemporaryName = "grottoprint-unfinished-picture.tmp";
inline constexpr std::string_view PageTemporaryName = "grottoprint-unfinished-page.tmp";

// Creates the temporary file for the output `name`. False, with nothing
// created, when a file of that name stands that may not be replaced (a folder,
// a file that may not be written) or the temporary file cannot be created.
bool OpenOutput(OutputFile &file, const std::string &name, std::string_view temporaryName);

// Closes the temporary file and renames it over the output's name. False when
// a write, the close or the rename failed; then the temporary file is removed
// and the old file stands.
bool CommitOutput(OutputFile &file);

// Closes and removes the temporary file, if one is open: the old file stands.
void DiscardOutput(OutputFile &file);

// Commits every output still open. An error that stops the run calls it, so
// that the page keeps the caves written before it.
void CommitOpenOutputs();

// True when both names reach one file, compared as files: another spelling,
// another case where the system ignores case, or a link leads to the same one.
bool SameFile(const std::string &first, const std::string &second);

// The names of the entries of the current folder.
std::vector<std::string> NamesInFolder();
