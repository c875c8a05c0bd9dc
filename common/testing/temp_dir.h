// A temporary folder that is removed with everything in it when the test ends.
#pragma once
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace suite {

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("zvtest-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  std::wstring wpath() const { return path_.wstring(); }
  // Creates a file (and its folders) with the given bytes; returns its full path.
  std::wstring Write(const std::wstring& rel, const std::string& bytes) const {
    auto p = path_ / rel;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
    return p.wstring();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace suite
