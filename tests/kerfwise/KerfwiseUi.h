// Shared steps of the splitter's UI tests: settings in the registry, starting
// kerfwise.exe from dist, its windows and controls.
#pragma once
#include <windows.h>

#include <string>

#include "kerfwise/window/KerfwiseIds.h"
#include "tests/kit/UiKit.h"

namespace kwtest {

using namespace uikit;
namespace ids = kerfwise::ids;

// Deletes HKLM\SOFTWARE\Quillfen\Kerfwise: a first start.
void ResetSettings();
void Put(const char* name, const std::string& text);
std::string Get(const char* name);
bool HasValue(const char* name);
bool HandlerRegistered();  // both keys of the context-menu handler

// kerfwise.exe from dist with these arguments (appended as they are).
Process StartKerfwise(const std::string& args = "", const std::string& dir = "");
HWND MainWindow(const Process& p);
// Waits until the start-up has applied the stored drive text (fdirp), which
// every test sets to a marker for this.
void WaitStartUp(HWND main, const std::string& driveText);
// Waits for the run to be over: Exit shown, Stop hidden.
void WaitIdle(HWND main, int timeoutMs = kExitWait);

// `size` bytes of a pattern that differs from block to block.
std::string Pattern(size_t size, int seed = 1);

// Files in a folder whose name starts with `prefix`, sorted.
std::vector<std::string> FilesStarting(const std::string& dir, const std::string& prefix);

// Saves a screenshot of the window under KW_BIN for a person to look at.
void Screenshot(HWND w, const std::string& name);

}  // namespace kwtest
