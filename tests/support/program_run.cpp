#include "tests/support/program_run.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <chrono>
#include <cstring>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The environment the program gets: ours, with `added` put in place of any variable of
// the same name.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& added) {
  std::vector<std::string> variables;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string text = *variable;
    const std::string name = text.substr(0, text.find('='));
    bool replaced = false;
    for (const std::string& addition : added) replaced |= addition.starts_with(name + "=");
    if (!replaced) variables.push_back(text);
  }
  variables.insert(variables.end(), added.begin(), added.end());
  return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// In the child, between fork and exec: only calls that are safe there.
[[noreturn]] void BecomeProgram(char* const argv[], char* const envp[], int outWrite, int errWrite,
                                const ProgramOptions& limits) {
  dup2(outWrite, STDOUT_FILENO);
  dup2(errWrite, STDERR_FILENO);
  const int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (devNull >= 0) dup2(devNull, STDIN_FILENO);
  if (limits.addressSpaceBytes != 0) {
    const rlimit space{limits.addressSpaceBytes, limits.addressSpaceBytes};
    setrlimit(RLIMIT_AS, &space);
  }
  if (limits.asOrdinaryUser && geteuid() == 0) {
    constexpr gid_t kNobody = 65534;
    if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(126);
  }
  execve(argv[0], argv, envp);
  _exit(127);
}

// Where the program's standard error goes: a pipe, or a pseudo-terminal whose follower end
// the program writes to and whose leader end the test reads.
struct ErrorStream {
  int read = -1;
  int write = -1;
  bool Open(bool terminal) {
    if (!terminal) {
      int ends[2];
      if (pipe2(ends, O_CLOEXEC) != 0) return false;
      read = ends[0];
      write = ends[1];
      return true;
    }
    read = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (read < 0 || grantpt(read) != 0 || unlockpt(read) != 0) return false;
    const char* name = ptsname(read);
    write = name == nullptr ? -1 : open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    return write >= 0;
  }
  void Close() {
    if (read >= 0) close(read);
    if (write >= 0) close(write);
    read = write = -1;
  }
};

// Reads both streams until the program closes them (a terminal reports EIO once its last
// writer is gone) or the deadline passes.
bool CollectOutput(int outRead, int errRead, Clock::time_point deadline, ProgramRun& run) {
  pollfd ends[2] = {{outRead, POLLIN, 0}, {errRead, POLLIN, 0}};
  std::string* into[2] = {&run.out, &run.err};
  int open = 2;
  while (open > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    if (poll(ends, 2, static_cast<int>(left.count())) < 0 && errno != EINTR) return false;
    for (int i = 0; i < 2; ++i) {
      if (ends[i].fd < 0 || ends[i].revents == 0) continue;
      char buffer[65536];
      const ssize_t got = read(ends[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        into[i]->append(buffer, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        ends[i].fd = -1;
        --open;
      }
    }
  }
  return true;
}

// Waits for the program to end, which it may do a little after closing its output.
bool Reap(pid_t child, Clock::time_point deadline, int& status, rusage& usage) {
  for (;;) {
    const pid_t ended = wait4(child, &status, WNOHANG, &usage);
    if (ended == child) return true;
    if (ended < 0 && errno != EINTR) return false;
    if (Clock::now() >= deadline) return false;
    usleep(1000);
  }
}

}  // namespace

ProgramRun RunProgram(const std::vector<std::string>& arguments, const ProgramOptions& limits) {
  ProgramRun run;
  std::vector<std::string> argumentTexts = arguments;
  std::vector<std::string> environment = EnvironmentWith(limits.environment);
  std::vector<char*> argv = Pointers(argumentTexts);
  std::vector<char*> envp = Pointers(environment);

  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return run;
  ErrorStream err;
  if (!err.Open(limits.errorToTerminal)) {
    close(out[0]);
    close(out[1]);
    err.Close();
    return run;
  }
  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child == 0) BecomeProgram(argv.data(), envp.data(), out[1], err.write, limits);
  close(out[1]);
  close(err.write);
  err.write = -1;
  if (child > 0) {
    run.started = true;
    const auto deadline =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(limits.killAfterSeconds));
    int status = 0;
    rusage usage{};
    run.endedInTime = CollectOutput(out[0], err.read, deadline, run) && Reap(child, deadline, status, usage);
    if (!run.endedInTime) {
      kill(child, SIGKILL);
      while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
      }
    }
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.maxResidentKb = usage.ru_maxrss;
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  }
  close(out[0]);
  err.Close();
  return run;
}
