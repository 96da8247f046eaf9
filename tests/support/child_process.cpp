#include "tests/support/child_process.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace {

constexpr uid_t kNobody = 65534;

struct Pipe {
  int read = -1;
  int write = -1;
  bool Open() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    read = ends[0];
    write = ends[1];
    return true;
  }
};

// A pseudo-terminal: the child writes to its follower end, the test reads the leader end.
struct Terminal {
  int leader = -1;
  int follower = -1;
  bool Open() {
    leader = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (leader < 0 || grantpt(leader) != 0 || unlockpt(leader) != 0) return false;
    const char* name = ptsname(leader);
    follower = name == nullptr ? -1 : open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    return follower >= 0;
  }
};

[[noreturn]] void BecomeChild(const std::vector<std::string>& arguments, const ChildOptions& options,
                              int out, int err) {
  const int nothing = open("/dev/null", O_RDONLY);
  if (nothing < 0 || dup2(nothing, STDIN_FILENO) < 0 || dup2(out, STDOUT_FILENO) < 0 ||
      dup2(err, STDERR_FILENO) < 0) {
    _exit(127);
  }
  if (options.asOrdinaryUser && geteuid() == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(127);
  }
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

// Reads both streams to their end together, so neither can fill up and stall the child.
void Collect(int out, int err, ChildResult& result) {
  pollfd streams[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = 2;
  while (open > 0) {
    if (poll(streams, 2, -1) < 0) break;
    for (int i = 0; i < 2; ++i) {
      if (streams[i].fd < 0 || streams[i].revents == 0) continue;
      char buffer[65536];
      const ssize_t got = read(streams[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(got));
      } else {  // end of the stream (a terminal reports EIO once its last writer is gone)
        streams[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace

ChildResult RunChild(const std::vector<std::string>& arguments, const ChildOptions& options) {
  ChildResult result;
  Pipe out, err;
  Terminal terminal;
  if (!out.Open()) return result;
  const bool streamsReady = options.errorToTerminal ? terminal.Open() : err.Open();
  const int childErr = options.errorToTerminal ? terminal.follower : err.write;
  const int parentErr = options.errorToTerminal ? terminal.leader : err.read;
  const pid_t child = streamsReady ? fork() : -1;
  if (child == 0) BecomeChild(arguments, options, out.write, childErr);
  close(out.write);
  if (childErr >= 0) close(childErr);
  if (child > 0) Collect(out.read, parentErr, result);
  close(out.read);
  if (parentErr >= 0) close(parentErr);
  if (child < 0) return result;
  int status = 0;
  waitpid(child, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}
