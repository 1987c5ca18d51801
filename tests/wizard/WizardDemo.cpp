// The demo's driver: installs the sample three-disk package from drive A: the
// way a user would, saving a picture of each page. Argument: the folder to
// install into; the pictures go beside it. Prints what it did.
#include <windows.h>

#include <cstdio>

#include "setup/SetupIds.h"
#include "tests/wizard/Road.h"

using namespace uikit;
using namespace road;
namespace ids = setup::ids;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: wizard_demo <destination> <picture folder>\n");
    return 2;
  }
  std::string dest = argv[1], shots = argv[2];
  try {
    Process setup;
    std::vector<std::string> prompts;
    HWND wiz = RunToWizard(setup, &prompts);
    for (const std::string& p : prompts) std::printf("  answered: %s\n", p.c_str());
    const char* pages[] = {"intro", "license", "readme", "paths", "finish"};
    for (int i = 0; i < 5; ++i) {
      if (i == 3) {
        SetText(Ctl(wiz, ids::kDestination), dest);
      }
      Shot(wiz, shots, std::to_string(i + 1) + "-" + pages[i]);
      std::printf("  page %-8s Next reads \"%s\"\n", pages[i], NextCaption(wiz).c_str());
      if (i < 4) Next(wiz, pages[i + 1]);
    }
    Click(Ctl(wiz, ids::kNext));
    MsgBox done = WaitMsgBox(setup, "Information", 60000);
    std::printf("  %s -> Yes\n", done.text.c_str());
    Answer(done, IDYES);
    setup.Wait();
    WaitUntil([&] { return FileExists(Join(dest, "ran.txt")); }, "the installed program's marker");
    std::printf("  the installed program ran\n");
  } catch (const std::exception& e) {
    std::printf("demo failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
