#pragma once
// Runs a program as a child process, with no shell in between (any file name passes as it
// is), and collects what it wrote and how it ended.

#include <string>
#include <vector>

struct ChildOptions {
  // When the test runs as root: run the child as the unprivileged user "nobody", so that
  // unreadable files and read-only folders refuse it as they would refuse a person.
  bool asOrdinaryUser = false;
  // Give the child a terminal as its standard error instead of a pipe.
  bool errorToTerminal = false;
};

struct ChildResult {
  int exitCode = -1;  // -1 when it could not be started or did not exit normally
  std::string out;
  std::string err;
};

// `arguments[0]` is the program's path. Standard input is /dev/null.
ChildResult RunChild(const std::vector<std::string>& arguments, const ChildOptions& options = {});
