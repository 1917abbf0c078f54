// A fresh current folder per test for the HTML document's units, with the
// process-wide records set back to their start values.
#pragma once

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

class HtmlScratch : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

private:
  std::filesystem::path home_;
  std::filesystem::path folder_;
  bool ownsFolder_ = true;
};

void WriteFile(const std::string &name, const std::string &bytes);
std::string ReadFile(const std::string &name);

// A structure file whose preamble holds the usual eight "#".
std::string StructureFile(const std::string &head, const std::string &entry,
                          const std::string &tail);

// A regular expression that matches exactly `text`, start to end.
std::string ExactRegex(const std::string &text);

// Runs `statement` with standard output sent to standard error, where a death
// test looks for its messages.
void WithOutputOnStderr(const std::function<void()> &statement);

// Limits the files this process writes to `bytes`; a write past the limit
// fails instead of ending the process.
void LimitFileSize(std::size_t bytes);
