// A screenshot when a wait fails, taken while the windows are still there (the
// test's Process objects kill them as the failure unwinds), so a red CI run
// shows what was on the screen instead.
#include "tests/kit/Internal.h"

#include <gtest/gtest.h>

namespace uikit::detail {

std::string FailureShot() {
  char bin[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("KW_BIN", bin, sizeof bin);
  if (n == 0 || n >= sizeof bin) return "";
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "no-test";
  for (char& c : name) {
    if (c == '/' || c == '\\' || c == ':') c = '_';
  }
  std::string dir = Join(bin, "uikit-shots");
  CreateDirectoryA(dir.c_str(), nullptr);
  static int count = 0;
  std::string path = Join(dir, name + "-" + std::to_string(++count) + ".bmp");
  try {
    CaptureScreen().SaveBmp(path);
  } catch (const Failure&) {
    return "";
  }
  return path;
}

}  // namespace uikit::detail
