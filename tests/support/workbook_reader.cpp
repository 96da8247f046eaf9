#include "tests/support/workbook_reader.h"

#include <cstdio>
#include <sstream>

#include "tests/support/program_run.h"

namespace {

// openpyxl takes a while over a large sheet: give it minutes, not the default seconds.
constexpr double kReaderDeadlineSeconds = 300;

WorkbookFacts RunAndCollect(const std::vector<std::string>& arguments) {
  const ProgramRun run = RunProgram(arguments, {.killAfterSeconds = kReaderDeadlineSeconds});
  WorkbookFacts facts;
  facts.exitCode = run.exitCode;
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);) facts.lines.push_back(line);
  return facts;
}

}  // namespace

std::vector<std::string> WorkbookFacts::Values(const std::string& key) const {
  std::vector<std::string> values;
  for (const std::string& line : lines) {
    if (line.size() > key.size() && line.compare(0, key.size(), key) == 0 && line[key.size()] == ' ') {
      values.push_back(line.substr(key.size() + 1));
    }
  }
  return values;
}

WorkbookFacts ReadWorkbook(const std::string& mode, const std::string& path,
                           const std::vector<std::string>& extra) {
  std::vector<std::string> arguments = {"/usr/bin/python3",
                                        TESSARIN_SOURCE_DIR "/tests/support/read_workbook.py", mode, path};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  return RunAndCollect(arguments);
}

std::string ArgbText(unsigned colour) {
  char text[9];
  std::snprintf(text, sizeof text, "FF%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                (colour >> 16) & 0xFF);
  return text;
}
