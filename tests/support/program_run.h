#pragma once
// Runs a program as a process of its own, as a person or a script would start it, and
// tells how it ended, what it printed, how long it took and the most memory it held.

#include <cstdint>
#include <string>
#include <vector>

// How a program is run, and the limits it runs within.
struct ProgramOptions {
  // The program is killed when it has not ended by then.
  double killAfterSeconds = 10;
  // Largest address space; 0 leaves it unlimited. An allocation past it fails, so a
  // program that tries to allocate without bound dies instead of taking the machine.
  std::uint64_t addressSpaceBytes = 0;
  // Under root, runs the program as the unprivileged user "nobody".
  bool asOrdinaryUser = false;
  // Added to the environment, "NAME=value".
  std::vector<std::string> environment{};
  // Gives the program a terminal as its standard error instead of a pipe.
  bool errorToTerminal = false;
};

struct ProgramRun {
  bool started = false;
  bool endedInTime = false;
  int exitCode = -1;  // when it exited; -1 when a signal ended it
  int signal = 0;     // the signal that ended it, else 0
  std::string out;
  std::string err;
  double seconds = 0;
  long maxResidentKb = 0;
};

// Runs `arguments` (the program's path first) with no shell in between.
ProgramRun RunProgram(const std::vector<std::string>& arguments, const ProgramOptions& limits = {});
