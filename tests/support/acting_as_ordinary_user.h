#pragma once
// Root passes every permission check. While one of these lives, file accesses of the
// process are checked as those of the unprivileged user "nobody", so tests of unreadable
// files and read-only folders mean something when they run as root too.

#include <sys/fsuid.h>
#include <unistd.h>

class ActingAsOrdinaryUser {
 public:
  ActingAsOrdinaryUser() : root_(geteuid() == 0) {
    if (root_) {
      setfsgid(65534);
      setfsuid(65534);
    }
  }
  ~ActingAsOrdinaryUser() {
    if (root_) {
      setfsuid(0);
      setfsgid(0);
    }
  }

 private:
  bool root_;
};

