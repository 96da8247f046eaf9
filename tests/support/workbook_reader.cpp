#include "tests/support/workbook_reader.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>

extern char** environ;

namespace {

// Runs `arguments` with no shell in between, so any file name passes as it is.
WorkbookFacts RunAndCollect(std::vector<std::string> arguments) {
  WorkbookFacts facts;
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return facts;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  std::string output;
  char buffer[65536];
  for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, got);
  close(pipeEnds[0]);
  if (spawned != 0) return facts;
  int status = 0;
  waitpid(child, &status, 0);
  facts.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::istringstream lines(output);
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
  return RunAndCollect(std::move(arguments));
}

std::string ArgbText(unsigned colour) {
  char text[9];
  std::snprintf(text, sizeof text, "FF%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                (colour >> 16) & 0xFF);
  return text;
}
