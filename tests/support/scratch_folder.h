#pragma once
// A fresh folder for one test's files, removed with everything in it afterwards.

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessarin-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    // Searchable by all, so a test may also act as an unprivileged user inside it.
    chmod(path_.c_str(), 0755);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
      if (entry.is_directory()) chmod(entry.path().c_str(), 0755);
    }
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  // The names of the entries directly inside `folder` (the scratch folder by default).
  std::set<std::string> Names(const std::string& folder = {}) const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.empty() ? path_ : std::filesystem::path(folder))) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

 private:
  std::filesystem::path path_;
};
