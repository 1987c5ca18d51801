// Helpers shared by the kit's own files.
#pragma once

#include "tests/kit/UiKit.h"

namespace uikit::detail {

// How long a read may take before the program counts as hung.
constexpr UINT kAnswerWait = 5000;

// SendMessageTimeout that throws when the window does not answer in time.
LRESULT Ask(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
// PostMessage that throws when the message cannot be posted.
void Post(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
std::string Seconds(int ms);  // "15 s"
std::string Quote(const std::string& s);  // "'text'"
// Whether the caption is exactly `caption`, without a message to the window.
bool CaptionIs(HWND w, const std::string& caption);
// The name of the process owning `w` (for messages), or "pid N".
std::string OwnerName(HWND w);
// Saves the screen as KW_BIN\uikit-shots\<test>-<n>.bmp; its path, or "".
std::string FailureShot();

}  // namespace uikit::detail
