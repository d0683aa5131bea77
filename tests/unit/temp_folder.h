// A fresh folder for each test, removed with everything in it (read-only files too) when the test
// ends, and the few things the tests do with the files in it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempFolderTest : public ::testing::Test {
 protected:
  TempFolderTest() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    std::replace(name.begin(), name.end(), '/', '_');  // parameterised tests are named "Kind/Test/0"
    folder_ = std::filesystem::temp_directory_path() / ("varnock_" + std::to_string(::getpid()) + "_" + name);
    Remove();
    std::filesystem::create_directories(folder_);
  }
  ~TempFolderTest() override { Remove(); }

  std::filesystem::path Path(const std::string& relative) const { return folder_ / relative; }
  // Writes the file, and the folders it lies in.
  std::filesystem::path Put(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path path = Path(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::string Bytes(const std::string& relative) const {
    std::ifstream file(Path(relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  void ReadOnly(const std::string& relative) const {
    std::filesystem::permissions(Path(relative), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
  }

  std::filesystem::path folder_;

 private:
  void Remove() const {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_, ignored)) {
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                   ignored);
    }
    std::filesystem::remove_all(folder_, ignored);
  }
};
