#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// A file that appears at its path whole or not at all. It is written as a temporary file in
// the target's folder and renamed over the target once complete and on disk, so that a
// failure at any point leaves whatever was at the path before untouched. The new file gets
// the permissions a plain create gives (0666 less the umask), or those of the file it
// replaces. A file that is never committed is removed.
class ReplacingFile {
 public:
  explicit ReplacingFile(const std::string& path);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // False once anything failed (error() then says why, in plain English) and after Commit.
  bool ok() const { return failed_errno_ == 0 && stream_ != nullptr; }
  const std::string& error() const { return error_; }

  // Sequential writing with the seeks a zip container needs to patch its headers.
  bool Write(const void* data, std::size_t size);
  bool Seek(std::int64_t offset, int origin);
  std::int64_t Tell();

  // Flushes the file to disk and renames it over the target. False, with error(), when
  // any write or the rename failed; the temporary is then gone.
  bool Commit();

 private:
  int CreateTemporary();  // a new file beside the target, or -1 after Fail
  void Fail(int errorNumber);
  void Discard();

  std::string target_;
  std::string folder_;
  std::string temporary_;
  std::FILE* stream_ = nullptr;
  int failed_errno_ = 0;
  std::string error_;
};
