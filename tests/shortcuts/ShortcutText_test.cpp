// The Start Menu folder path, natively.
#include "setup/engine/ShortcutText.h"

#include <gtest/gtest.h>

using namespace setup;

TEST(ShortcutText, StartMenuFolderPath) {
  const char* progs = "C:\\WINDOWS\\Start Menu\\Programs";
  EXPECT_EQ(FullStartMenuFolder(progs, "My App"), std::string(progs) + "\\My App");
  EXPECT_EQ(FullStartMenuFolder(std::string(progs) + "\\", "My App\\"),
            std::string(progs) + "\\My App");
  EXPECT_EQ(FullStartMenuFolder(progs, ""), progs) << "empty name: the Programs folder itself";
  EXPECT_EQ(FullStartMenuFolder("", "My App"), "\\My App");
}
