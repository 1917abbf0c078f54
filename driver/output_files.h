// How a run writes its files: each picture and the page go to an unfinished
// file of the current folder, which takes the output's own name only once it
// is complete and closed. A run stopped at any moment, by a kill, a crash or
// a failed write, so leaves every output either as it was or whole.
//
// Each unfinished file is the run's own: it is created under a name no file
// holds yet, "grottoprint-unfinished-" with eight hexadecimal digits of its
// own and ".tmp", and the run holds it (Linux and other systems: a lock on
// it; Windows: an open handle that allows no other run to delete it) until it
// is renamed or removed. Runs side by side in one folder so never write into
// each other's files, and a file no run holds is a leftover of a killed run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

struct OutputFile {
  // The unfinished file, open from OpenOutput to CommitOutput or DiscardOutput.
  std::FILE *Stream = nullptr;
  std::string Name;           // the output's own name
  std::string UnfinishedName; // the name it is written under
  // A second descriptor or handle of the unfinished file, which keeps it held
  // while the stream closes and until it is renamed or removed.
  std::intptr_t Hold = -1;
};

// True for the names of unfinished files, this run's or another's.
bool IsUnfinishedName(std::string_view name);

// Creates the unfinished file for the output `name`. False, with nothing
// created, when a file of that name stands that may not be replaced (a folder,
// a file that may not be written) or no unfinished file can be created.
bool OpenOutput(OutputFile &file, const std::string &name);

// Closes the unfinished file and renames it over the output's name. False when
// nothing is open or a write, the close or the rename failed; then the
// unfinished file is removed and the old file stands.
bool CommitOutput(OutputFile &file);

// Closes and removes the unfinished file, if one is held: the old file stands.
void DiscardOutput(OutputFile &file);

// Removes the unfinished files of the current folder that no run holds: those
// a killed run left behind.
void RemoveLeftovers();

// True when both names reach one file, compared as files: another spelling,
// another case where the system ignores case, or a link leads to the same one.
bool SameFile(const std::string &first, const std::string &second);

// The names of the entries of the current folder.
std::vector<std::string> NamesInFolder();
