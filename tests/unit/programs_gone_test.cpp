// Which rows of a list of programs are drawn as gone.
#include <gtest/gtest.h>

#include <vector>

#include "programs_gone.h"
#include "temp_folder.h"

namespace {

class ProgramsGoneTest : public TempFolderTest {};

TEST_F(ProgramsGoneTest, EveryRowIsMarkedByItsOwnProgramInTheListsOrder) {
  Put("apps/draw.exe", "MZ");
  Put("apps/empty.exe", "");
  Put("アプリ/作図.exe", "MZ");
  std::filesystem::create_directories(Path("apps/folder.exe"));
  const struct {
    fileio::FilePath path;
    bool gone;
  } rows[] = {
      {Path("apps/draw.exe"), false},   {Path("apps/missing.exe"), true},
      {Path("apps/empty.exe"), false},  // a program file, however broken, is there
      {Path("apps/folder.exe"), true},  {Path("no such folder/draw.exe"), true},
      {Path("アプリ/作図.exe"), false}, {fileio::FilePath(), true},
      {Path("apps/draw.exe"), false},  // the same program twice: both rows are there
  };
  std::vector<fileio::FilePath> paths;
  std::vector<bool> expected;
  for (const auto& row : rows) {
    paths.push_back(row.path);
    expected.push_back(row.gone);
  }
  EXPECT_EQ(programs::Gone(paths), expected);
  EXPECT_TRUE(programs::Gone({}).empty());
}

}  // namespace
