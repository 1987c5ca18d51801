// UI test kit: drives the real programs under wine64 the way a user would.
// Test programs only, never shipped. Every wait has a timeout and throws
// uikit::Failure naming what it waited for ("no window 'Confirm' of setup.exe
// within 15 s"); GoogleTest reports the text and fails the test, and the
// Process destructor kills a program a failed test left running.
//
// Clicks, keys and notifications are posted, never sent: an action that opens
// a modal box returns at once and the test goes on to wait for the box.
// Reads use SendMessageTimeout, so a busy program cannot hang a test.
//
//   uikit::Process app = uikit::Process::Start("\"" + uikit::Join(uikit::DistDir(), "setup.exe") + "\"", "A:\\");
//   HWND wizard = uikit::WaitTop(app, "", "Setup");
//   uikit::Click(wizard, kNextButtonId);
//   uikit::MsgBox box = uikit::WaitMsgBox(app, "Confirm");
//   EXPECT_EQ(box.icon, uikit::Icon::Question);
//   uikit::Answer(box, IDYES);
//   EXPECT_EQ(app.Wait(), 0u);
//
// In CMake: kw_test(my_e2e_test SOURCES ... LIBS uikit) inside if(WIN32); the
// kit exists in the win64 build only.
#pragma once

#include "toolkit/Error.h"
#include <windows.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace uikit {

// Default timeouts, generous for a loaded 2-core CI machine.
constexpr int kWindowWait = 15000;  // a window or box appearing or going away
constexpr int kExitWait = 30000;    // a program ending
constexpr int kPoll = 20;           // polling step of every wait

struct Failure : kw::Error {
  using kw::Error::Error;
};

// Polls `done` until it returns true; throws "<what> within N s" otherwise,
// after saving the screen to KW_BIN\uikit-shots\<suite>.<test>-<n>.bmp (the
// message names the file; `convert` turns it into a PNG).
void WaitUntil(const std::function<bool()>& done, const std::string& what, int timeoutMs = kWindowWait);
// Lets the message queue of this thread run for a while (never needed to see
// another program's state; handy between posted actions that must not merge).
void Pause(int ms);

// ---- Process -------------------------------------------------------------
class Process {
 public:
  Process() = default;
  // Starts `cmdLine` (program path first, quoted if it has spaces) in `dir`
  // (empty: the test's current folder). Throws if it cannot start. Under Wine
  // the first start sets the prefix's X11 "Managed" option to N: without a
  // window manager, Wine otherwise waits 2 s each time a window is hidden.
  static Process Start(const std::string& cmdLine, const std::string& dir = "");
  ~Process();  // kills the program if it still runs
  Process(Process&& o) noexcept;
  Process& operator=(Process&& o) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  DWORD Id() const { return id_; }
  HANDLE Handle() const { return handle_; }
  const std::string& Name() const { return name_; }  // "setup.exe", for messages
  bool Running() const;
  // Waits for the end; returns the exit code. Throws on timeout.
  DWORD Wait(int timeoutMs = kExitWait);
  // Ends the program at once (no-op if it already ended); waits until it is gone.
  void Kill();

 private:
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
  std::string name_;
};

// Ends every process of the Wine prefix whose file name is `exeName` (e.g. a
// program that setup.exe started). Returns how many were ended.
int KillByName(const std::string& exeName);
// Waits until no process of the prefix has that file name; false on timeout.
bool AwaitNoProcess(const std::string& exeName, int timeoutMs = kWindowWait);

// ---- The 32-bit programs ----------------------------------------------------
// On a 32-bit road (kw_road95 in CMake: KW_DIST names dist\win32 and KW_WINVER
// win95 or win98) Process::Start first tells each program, through Wine's
// AppDefaults for its file name, that it runs on that Windows version. A
// program started by another one (the joiner copy, a program an installer
// starts) is told the same by calling AsWindows9x with its file name before it
// starts. On such a road Process::Start refuses a program named by its path
// that is not 32-bit; one named alone (Wine's wineboot.exe) is left as it is.
//
// With KW_MSVCRT=disabled as well, DistDir() is a copy of dist\win32 whose
// programs and libraries find no MSVCRT.DLL (nor CRTDLL.DLL): one that imports
// it does not start, as on a Windows 95 without it.
bool Road95();
void AsWindows9x(const std::string& exeName);  // no-op outside a 32-bit road
// The registry view the programs under test write HKLM\SOFTWARE to: the 32-bit
// one on a 32-bit road (KEY_WOW64_32KEY), else the test's own (0).
REGSAM ProgramView();
// Reads as the programs under test see them (HKLM through ProgramView()): a
// text value, or a number in decimal; "<missing>" when there is neither.
std::string RegText(HKEY root, const std::string& key, const std::string& name);
bool KeyExists(HKEY root, const std::string& key);
std::string WindowsFolder();

// ---- Windows -------------------------------------------------------------
// Top-level windows; pid 0 matches any process. Empty cls / caption match any.
// Only visible windows count unless `visibleOnly` is false.
std::vector<HWND> TopWindows(DWORD pid, bool visibleOnly = true);
HWND FindTop(DWORD pid, const std::string& cls, const std::string& caption, bool visibleOnly = true);
HWND WaitTop(const Process& p, const std::string& cls, const std::string& caption, int timeoutMs = kWindowWait);
// Waits until `w` is destroyed or hidden; `what` names it in the failure text.
void WaitGone(HWND w, const std::string& what, int timeoutMs = kWindowWait);
// Waits until no visible top window of `p` matches.
void WaitNoTop(const Process& p, const std::string& cls, const std::string& caption, int timeoutMs = kWindowWait);

// Children, searched through all levels (panels inside panels); a visible
// match wins over a hidden one. Find* returns nullptr when missing; Child*
// throws naming the parent and the wanted control.
HWND FindChild(HWND parent, int id);
HWND FindChild(HWND parent, const std::string& cls, const std::string& caption);
HWND Child(HWND parent, int id);
HWND Child(HWND parent, const std::string& cls, const std::string& caption);
std::vector<HWND> Children(HWND parent);  // all levels, in Z order per level
// Waits for a child to exist (and be visible), for panels created late.
HWND WaitChild(HWND parent, int id, int timeoutMs = kWindowWait);

std::string Text(HWND w);       // WM_GETTEXT
// Waits until `w` shows exactly `want`; the failure tells what it showed.
void WaitText(HWND w, const std::string& want, int timeoutMs = kWindowWait);
void WaitEnabled(HWND w, bool enabled = true, int timeoutMs = kWindowWait);
// Returns once the thread of `w` has finished the message it was handling and
// reads its queue again (a WM_NULL sent and answered): what a handler that
// showed a page sets is then in place.
void Settle(HWND w);
std::string ClassOf(HWND w);
int ControlId(HWND w);
bool Visible(HWND w);           // the window and all its parents
bool Enabled(HWND w);
RECT WindowRect(HWND w);        // screen coordinates
RECT ClientRect(HWND w);        // client area, screen coordinates
std::string Describe(HWND w);   // "Button 'Next >' id 3", for messages

// ---- Acting like a user ---------------------------------------------------
// BM_CLICK, posted. Throws if the control is hidden or disabled (a user could
// not click it either).
void Click(HWND button);
void Click(HWND parent, int id);
// BM_CLICK sent: returns once the click is handled, so that a check that
// nothing happened needs no pause. Only for clicks that open nothing modal.
void ClickHandled(HWND button);
// Sets a check box to `on` by clicking it when its state differs, and waits
// until it shows that state.
void SetCheck(HWND box, bool on);
// Replaces an edit's text (WM_SETTEXT; the edit sends EN_CHANGE itself).
void SetText(HWND edit, const std::string& text);
// Types `text` character by character (posted WM_CHAR) at the caret; after
// SetText the caret of an edit is at the start.
void Type(HWND w, const std::string& text);
// A key press (posted WM_KEYDOWN + WM_KEYUP), e.g. VK_ESCAPE, VK_RETURN. Sent
// to a dialog box or one of its controls, Esc and Enter act as in the box.
void PressKey(HWND w, UINT vk);
// Asks a top window to close (posted WM_CLOSE), like its close button.
void Close(HWND top);
// Brings a top window to the front (for screenshots).
void ToFront(HWND top);

// List box: selects `index` (single-select: the current item; multi-select:
// adds it) and notifies the parent with LBN_SELCHANGE so its handler runs.
void SelectItem(HWND list, int index);
// Multi-select list: selects exactly `indexes`, then one LBN_SELCHANGE.
void SelectItems(HWND list, const std::vector<int>& indexes);
void DoubleClickItem(HWND list, int index);  // selects, then LBN_DBLCLK
// Combo box: selects item `index` / the item with this text, then CBN_SELCHANGE.
void SelectCombo(HWND combo, int index);
void SelectCombo(HWND combo, const std::string& text);

// Menu command of a top window, by ID (posted WM_COMMAND; no check that the
// menu has such an item).
void InvokeMenu(HWND top, int commandId);
// The same, sent: returns once the command is handled. Only for commands that
// open nothing modal.
void SendCommand(HWND top, int commandId);
// Through the menu as a keyboard user would: Alt, then the underlined letter
// of each level, e.g. "ha" for &Help > &About. Proves the items exist with
// those mnemonics and are enabled; nothing happens if one is missing.
void InvokeMenuKeys(HWND top, const std::string& mnemonics);
// By caption path, e.g. {"Help", "About"} ('&' and the text after a tab are
// ignored). Reads the menu of another process, which Wine 8 does not allow
// (MenuReadable() is false there): then this throws; use the two above.
void InvokeMenu(HWND top, const std::vector<std::string>& path);
int MenuId(HWND top, const std::vector<std::string>& path);  // -1 if missing
bool MenuReadable(HWND top);

// Drops `files` onto window `w` as Explorer would (WM_DROPFILES). The DROPFILES
// block is written into the target process (a GlobalLock-able fixed block).
// `pt` is in client coordinates of `w`.
void DropFiles(HWND w, const std::vector<std::string>& files, POINT pt = {10, 10});
// The DROPFILES block itself (header + double-NUL-terminated ANSI names).
std::vector<uint8_t> DropFilesBlock(const std::vector<std::string>& files, POINT pt);

// ---- Reading controls ------------------------------------------------------
std::vector<std::string> ListItems(HWND list);
std::vector<int> ListSelection(HWND list);  // selected indexes (either kind)
int ListCurrent(HWND list);                 // LB_GETCURSEL, -1 if none
std::vector<std::string> ComboItems(HWND combo);
int ComboCurrent(HWND combo);
bool Checked(HWND button);                  // BM_GETCHECK == BST_CHECKED
int ProgressPos(HWND bar);
std::pair<int, int> ProgressRange(HWND bar);

// ---- Message boxes ---------------------------------------------------------
enum class Icon { None, Warning, Question, Information, Error, Unknown };
const char* IconName(Icon i);

struct MsgButton {
  int id;
  std::string caption;
};

struct MsgBox {
  HWND hwnd = nullptr;
  std::string caption;
  std::string text;
  Icon icon = Icon::None;
  std::vector<MsgButton> buttons;  // visible buttons, left to right
  bool HasButton(int id) const;
};

// A dialog ("#32770") holding only statics and standard buttons.
bool IsMessageBox(HWND w);
// Waits for a visible message box of `p` with this caption (empty: any; the
// program's own dialogs never match) and reads it. The icon is told apart by comparing the box's icon pixels
// on screen with the stock icons drawn here; Unknown if none matches.
MsgBox WaitMsgBox(const Process& p, const std::string& caption = "", int timeoutMs = kWindowWait);
MsgBox ReadMsgBox(HWND box);
// Presses a button of the box (IDOK, IDCANCEL, IDYES, IDNO ...) and waits
// until the box is gone.
void Answer(const MsgBox& box, int buttonId, int timeoutMs = kWindowWait);

// ---- Screen ----------------------------------------------------------------
struct Image {
  int width = 0, height = 0;
  std::vector<uint8_t> bgr;  // top-down rows of width*3 bytes, no padding
  COLORREF Pixel(int x, int y) const;  // RGB(); throws outside the image
  void SaveBmp(const std::string& path) const;  // 24-bit BMP
};
Image CaptureScreen();
Image CaptureRect(const RECT& screen);
Image CaptureWindow(HWND w);  // its window rectangle as seen on screen
// For pictures: `painted` (and its children) repainted now, then the screen or
// its window rectangle captured until two captures a poll apart agree, the
// paint having reached the screen; the last capture after timeoutMs.
Image CaptureSteady(HWND painted, int timeoutMs = 3000);
Image CaptureScreenSteady(HWND painted, int timeoutMs = 3000);
// Colours within `tolerance` per channel.
bool SameColor(COLORREF a, COLORREF b, int tolerance = 0);
std::string ColorText(COLORREF c);  // "#RRGGBB"

// ---- Files and folders -----------------------------------------------------
std::string Env(const std::string& name);  // throws if unset
std::string DistDir();   // KW_DIST, e.g. Z:\...\dist\win64 (see Road95 for the exception)
std::string SrcDir();    // KW_SRC
std::string BinDir();    // KW_BIN
std::string DriveA();    // "A:\"
// A fresh empty folder under the temp folder, unique to this test process.
std::string TempDir(const std::string& name);
std::string Join(const std::string& dir, const std::string& name);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
void CopyFileTo(const std::string& from, const std::string& to);  // overwrites
void CopyFolder(const std::string& from, const std::string& to);  // recursive
// Writes `text` with every LF turned into CR LF (existing CR LF kept).
void WriteTextFile(const std::string& path, const std::string& text);
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
// "" when both files hold the same bytes; otherwise what differs.
std::string CompareFiles(const std::string& a, const std::string& b);
// Creates `dir` if needed and deletes everything in it (read-only files too).
void EmptyFolder(const std::string& dir);
void RemoveFolder(const std::string& dir);  // the folder and all it holds
// Names (not paths) in `dir`, sorted; folders end with '\'.
std::vector<std::string> ListFolder(const std::string& dir);

}  // namespace uikit
