#include <gtest/gtest.h>

#include "storage/ProjectFolderCheck.h"

namespace trawlix {
namespace {

TEST(ProjectFolderCheck, FolderPathsMustNameExactlyOneFolder) {
  struct Row {
    const char* path;
    const char* problem;  // part of the message, or nullptr when the path is sound
  };
  const Row rows[] = {
      {"/home/u/Pictures/Beach", nullptr},
      {"/home/u/Pictures/Beach/", nullptr},
      {"/", nullptr},
      {"/home/u/Pictures/...more", nullptr},
      {"/home/u/Pictures/Beach&#47&#46&#46", nullptr},
      {"", "is not a full path"},
      {"Pictures/Beach", "is not a full path"},
      {"~/Pictures", "is not a full path"},
      {"/home/u/Pictures/../../../etc", "contains \"..\""},
      {"/home/u/Pictures/Beach/..", "contains \"..\""},
      {"/home/u/./Pictures", "contains \".\""},
      {"/home//u", "empty folder name"},
      {"/home/u/Pictures//", "empty folder name"},
      {"/home/u/Pic\ttures", "control characters"},
      {"/home/u/Pic\x1b]52;c;AAAA\x07", "control characters"},
      {"/home/u/\xc2\x9b"
       "2J",
       "control characters"},
      {"/home/u/\x7f", "control characters"},
  };
  for (const Row& row : rows) {
    const auto problem = FolderPathProblem(row.path);
    if (row.problem == nullptr) {
      EXPECT_FALSE(problem) << row.path << ": " << problem.value_or("");
    } else {
      ASSERT_TRUE(problem) << row.path;
      EXPECT_NE(problem->find(row.problem), std::string::npos) << *problem;
    }
  }
}

TEST(ProjectFolderCheck, ChecksThumbnailAndMobileFoldersOnlyWhileTheyAreMade) {
  ProjectsRecord project;
  project.saveTo = "/home/u/Pictures/Beach";
  project.thumbnailSaveTo = "/home/u/Pictures/Beach/../../../tmp";
  project.mobileSaveTo = "relative/mobile";
  project.autoCreateThumbnails = false;
  project.autoCreateMobile = false;
  EXPECT_FALSE(ProjectFoldersProblem(project));

  project.autoCreateThumbnails = true;
  auto problem = ProjectFoldersProblem(project);
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->rfind("The thumbnails folder \"/home/u/Pictures/Beach/../../../tmp\"", 0), 0u)
      << *problem;

  project.autoCreateThumbnails = false;
  project.autoCreateMobile = true;
  problem = ProjectFoldersProblem(project);
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->rfind("The Mobile Photos folder", 0), 0u) << *problem;

  project.saveTo = "/home/u/Pictures/../x";
  problem = ProjectFoldersProblem(project);
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->rfind("The destination folder", 0), 0u) << *problem;
}

TEST(ProjectFolderCheck, SafeFolderNamesAreOnePlainName) {
  struct Row {
    const char* text;
    const char* name;
  };
  const Row rows[] = {
      {"Beach Photos", "Beach Photos"},
      {"  Beach  ", "Beach"},
      {"../../../etc", ".._.._.._etc"},
      {"a/b\\c", "a_b_c"},
      {"..", "_"},
      {".", "_"},
      {"...", "_"},
      {"", "_"},
      {"   ", "_"},
      {"Tab\there\nand\x1b[2J", "Tab_here_and_[2J"},
      {"C1\xc2\x9bx", "C1_x"},
      {"Caf\xc3\xa9", "Caf\xc3\xa9"},
  };
  for (const Row& row : rows) EXPECT_EQ(SafeFolderName(row.text), row.name) << row.text;
  // Cut to the limit without splitting a character ("é" is two bytes).
  EXPECT_EQ(SafeFolderName("ab\xc3\xa9", 3), "ab");
  EXPECT_EQ(SafeFolderName(std::string(600, 'x')).size(), 200u);
}

}  // namespace
}  // namespace trawlix
