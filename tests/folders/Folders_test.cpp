// The folder routines against the real file system under Wine.
#include "setup/engine/Folders.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>

using namespace setup;

namespace {

std::string TempRoot() {
  char buf[MAX_PATH];
  GetTempPathA(sizeof buf, buf);
  std::string root = StripBackslash(buf) + "\\foldertest" + std::to_string(GetCurrentProcessId());
  RemoveFolderTree(root);
  return root;
}

void Touch(const std::string& path, DWORD attrs = FILE_ATTRIBUTE_NORMAL) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fputs("x", f);
  std::fclose(f);
  SetFileAttributesA(path.c_str(), attrs);
}

}  // namespace

TEST(Folders, ForceFoldersCreatesNestedWithTrailingBackslash) {
  std::string root = TempRoot();
  ForceFolders(root + "\\a\\b\\c\\");
  EXPECT_TRUE(FolderExists(root + "\\a\\b\\c"));
  EXPECT_FALSE(FileExists(root + "\\a"));
  ForceFolders("C:");  // too short to create: nothing happens
  RemoveFolderTree(root);
  EXPECT_FALSE(FolderExists(root));
}

TEST(Folders, ListAndRemoveTree) {
  std::string root = TempRoot();
  ForceFolders(root + "\\sub\\deep");
  ForceFolders(root + "\\My StartUp Items");
  Touch(root + "\\top.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  Touch(root + "\\sub\\deep\\d.txt", FILE_ATTRIBUTE_SYSTEM);
  Touch(root + "\\My StartUp Items\\s.txt");
  std::vector<std::string> list = ListFolderTree(root);
  auto has = [&](const std::string& s) { return std::count(list.begin(), list.end(), s) == 1; };
  EXPECT_EQ(list.front(), "[" + root);
  EXPECT_TRUE(has(root + "\\top.txt"));
  EXPECT_TRUE(has("[" + root + "\\sub"));
  EXPECT_TRUE(has(root + "\\sub\\deep\\d.txt"));
  EXPECT_TRUE(has(root + "\\My StartUp Items\\s.txt"));
  EXPECT_FALSE(has("[" + root + "\\My StartUp Items")) << "startup folders are not listed";
  auto pos = [&](const std::string& s) { return std::find(list.begin(), list.end(), s) - list.begin(); };
  EXPECT_LT(pos("[" + root + "\\sub"), pos("[" + root + "\\sub\\deep"));

  RemoveFolderTree(root);
  EXPECT_FALSE(FileExists(root + "\\top.txt")) << "read-only, hidden files go too";
  EXPECT_FALSE(FolderExists(root + "\\sub"));
  EXPECT_TRUE(FolderExists(root + "\\My StartUp Items")) << "an unlisted folder stays";
  EXPECT_FALSE(FileExists(root + "\\My StartUp Items\\s.txt"));
  RemoveDirectoryA((root + "\\My StartUp Items").c_str());
  RemoveDirectoryA(root.c_str());
}

TEST(Folders, WindowsFolderAndFileNamedTree) {
  EXPECT_TRUE(FolderExists(GetWindowsFolder()));
  std::string root = TempRoot();
  ForceFolders(root);
  Touch(root + "\\f.txt");
  EXPECT_EQ(ListFolderTree(root + "\\f.txt"), std::vector<std::string>{root + "\\f.txt"});
  RemoveFolderTree(root);
  EXPECT_FALSE(FolderExists(root));
}
