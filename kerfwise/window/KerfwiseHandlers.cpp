// The main window's reactions: start-up and close, the file list, runs of the
// slicing engine (as its host), help, About, and the settings' side of the
// controls.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <stdlib.h>

#include "kerfwise/engine/IoError.h"
#include "kerfwise/engine/Platform.h"
#include "kerfwise/settings/ContextMenuReg.h"
#include "kerfwise/window/KerfwiseIds.h"
#include "kerfwise/window/uKerfwise.h"
#include "toolkit/App.h"
#include "toolkit/Dialogs.h"

namespace kerfwise {

namespace {

// The command-line arguments joined with single blanks: one path, whole even
// when it has blanks and came unquoted.
std::string JoinedArguments() {
  std::string path;
  for (int i = 1; i < __argc; ++i) {
    if (i > 1) path += ' ';
    path += __argv[i];
  }
  return path;
}

bool IsFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ProgramPath() {
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  return n && n < sizeof buf ? std::string(buf, n) : "";
}

}  // namespace

// ---- Start-up and close

void TfKerfwise::FormActivate() {
  char win[144] = "";
  GetWindowsDirectoryA(win, sizeof win);
  windowsFolder_ = win;
  helpFolder_ = windowsFolder_;
  settings_.Load(store_, *this, windowsFolder_);
  std::string path = JoinedArguments();
  if (path.empty()) return;
  filenames.Clear();
  filenames.Add(path);
  UpdateWindow(Handle());
  if (GetKeyState(VK_SHIFT) & 0x80) {
    SetForegroundWindow(Handle());
    return;
  }
  RunOutcome r = StartRun();
  if (r != RunOutcome::Cancelled && stopTag_ == 0) CloseWindow();
}

void TfKerfwise::FormClose() {
  settings_.Save(store_, *this);
  SayIfSettingsRefused();
}

void TfKerfwise::CloseWindow() {
  if (running_) {
    // The engine is on the stack: stop it, close when it returns.
    closeAfterRun_ = true;
    stopTag_ = 1;
    return;
  }
  CloseNow();
}

void TfKerfwise::CloseNow() {
  if (closed_) return;
  closed_ = true;
  FormClose();
  Close();
}

// ---- The file list

void TfKerfwise::Button1Click() {
  char name[MAX_PATH] = "";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // what Windows 95 knows
  ofn.hwndOwner = Handle();
  ofn.lpstrFile = name;
  ofn.nMaxFile = sizeof name;
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  if (GetOpenFileNameA(&ofn)) filenames.Add(name);
}

void TfKerfwise::Button2Click() {
  std::vector<int> sel = filenames.Selection();
  for (size_t i = sel.size(); i-- > 0;) filenames.Delete(sel[i]);  // from the end: indexes stay valid
}

void TfKerfwise::Button3Click() { filenames.Clear(); }

// During a run too: the run took its own copy of the list when it started,
// so what is dropped now waits for the next run.
void TfKerfwise::FileDrop(TDropPanel&, const std::vector<std::string>& files, int, int) {
  std::string folders;
  for (const std::string& f : files) {
    DWORD a = GetFileAttributesA(f.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY))
      folders += "\n" + f;  // would fail the whole run later, without its name
    else
      filenames.Add(f);
  }
  if (!folders.empty())
    MessageBoxA(Handle(), ("Kerfwise slices files, not folders. Not added:" + folders).c_str(), "Kerfwise",
                MB_OK | MB_ICONWARNING);
}

// ---- Runs

RunInputs TfKerfwise::Inputs() {
  RunInputs in;
  for (int i = 0; i < filenames.Count(); ++i) in.sources.push_back(filenames.Item(i));
  in.sizeText = slicesize.Text();
  int d = SelectedDestination();
  in.destination = d == 2 ? Destination::FloppyDisk : d == 3 ? Destination::SlicedPath
                                                            : Destination::CurrentDirectory;
  in.driveText = ComboBox1.Text();
  in.slicePath = eSlicePath.Text();
  in.deleteSource = delfile.Checked();
  in.deleteSlicesAfterJoin = delcat.Checked();
  return in;
}

RunOutcome TfKerfwise::StartRun() {
  if (running_) return RunOutcome::Done;
  RunInputs in = Inputs();
  RunOutcome r;
  try {
    r = RunSlicing(in, *this, SystemPlatform());
  } catch (...) {
    if (running_) RunEnded();
    throw;
  }
  running_ = false;
  if (closeAfterRun_ && r != RunOutcome::Cancelled) CloseNow();
  return r;
}

void TfKerfwise::Button5Click() { StartRun(); }
void TfKerfwise::Button4Click() { stopTag_ = 1; }
void TfKerfwise::Button6Click() { CloseWindow(); }

void TfKerfwise::RunStarted() {
  running_ = true;
  stopTag_ = 0;
  SetRunning(true);  // before the swap: once Stop shows, the rest is frozen
  Button4.Show();
  Button6.Hide();
  SetFocus(Button4.Handle());
}

void TfKerfwise::RunEnded() {
  bar.SetPosition(0);
  SetRunning(false);  // before the swap: once Exit shows, all is usable
  Button6.Show();
  Button4.Hide();
  running_ = false;
}

// Every control but Stop and the drop target is disabled while the engine
// runs, menus too. The list keeps taking drops for the next run.
void TfKerfwise::SetRunning(bool on) {
  if (on) {
    disabled_.clear();
    for (HWND c = GetWindow(Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      if (c != Button4.Handle() && c != dp1.Handle() && IsWindowEnabled(c)) {
        EnableWindow(c, FALSE);
        disabled_.push_back(c);
      }
  } else {
    for (HWND c : disabled_) EnableWindow(c, TRUE);
    disabled_.clear();
  }
  HMENU menu = menu_.Handle();
  for (int i = 0; i < GetMenuItemCount(menu); ++i)
    EnableMenuItem(menu, UINT(i), MF_BYPOSITION | (on ? MF_GRAYED : MF_ENABLED));
  DrawMenuBar(Handle());
}

void TfKerfwise::SetProgress(int percent) { bar.SetPosition(percent); }

bool TfKerfwise::ProcessMessages() {
  UpdateWindow(Handle());
  kw::App().ProcessMessages();
  return stopTag_ == 1 || kw::App().Terminated();
}

bool TfKerfwise::DiskPrompt(const std::string& text) { return kw::Confirm(text); }

void TfKerfwise::ShowError(const std::string& text) { kw::App().ShowException(text.c_str()); }

void TfKerfwise::ShowNote(const std::string& text) {
  MessageBoxA(Handle(), text.c_str(), "Kerfwise", MB_OK | MB_ICONINFORMATION);
}

void TfKerfwise::CloseMainWindow() {
  running_ = false;  // the run ends with this; nothing waits for it
  CloseNow();
}

// ---- Help and About

void TfKerfwise::Help2Click() {
  std::string file = helpFolder_ + "\\kerfwise.hlp";
  if (IsFile(file)) ShellExecuteA(Handle(), "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TfKerfwise::About1Click() { about_->Execute(); }

// ---- Options and settings

void TfKerfwise::cbRightClickClick() {
  if (cbRightClick.Checked()) {
    Registration r = RegisterHandler();
    if (r == Registration::Done) {
      // Where kerfwise.dll finds this program; the handler is registered by
      // file name only.
      store_.Write(kProgramValue, ProgramPath());
      store_.Write("right", "true");
      SayIfSettingsRefused();
      return;
    }
    // The box must not claim a menu entry the shell will never show.
    MessageBoxA(Handle(),
                r == Registration::Wow64
                    ? "The right-click menu cannot be added on 64-bit Windows: its Explorer cannot load "
                      "the handler of this 32-bit Kerfwise."
                    : "The right-click menu cannot be added: Windows refused to write its entries under "
                      "HKEY_CLASSES_ROOT. Administrator rights are needed.",
                "Kerfwise", MB_OK | MB_ICONWARNING);
    cbRightClick.SetChecked(false);
  }
  RemoveHandler();
  store_.Write("right", "false");
  SayIfSettingsRefused();
}

void TfKerfwise::SayIfSettingsRefused() {
  if (store_.TakeRefusal())
    MessageBoxA(Handle(),
                "Settings cannot be saved: Windows refused to write them under "
                "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillfen\\Kerfwise. Kerfwise works on, but will not "
                "remember them.",
                "Kerfwise", MB_OK | MB_ICONINFORMATION);
}

void TfKerfwise::eSlicePathChange() { tips_.Set(eSlicePath.Handle(), eSlicePath.Text()); }

void TfKerfwise::ClearRightClick() {
  if (!cbRightClick.Checked()) return;
  cbRightClick.SetChecked(false);
  cbRightClickClick();
}

void TfKerfwise::ChangeFolder(const std::string& folder) {
  if (!SetCurrentDirectoryA(folder.c_str())) throw IoError(int(GetLastError()));
}

void TfKerfwise::FolderRefused(const std::string& message) {
  ShowError(message);
  // The folder the program started in, unless that is gone too.
  std::string now = WorkingFolder();
  DWORD a = GetFileAttributesA(now.c_str());
  if (now.empty() || a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY))
    SetCurrentDirectoryA(windowsFolder_.c_str());
}

std::string TfKerfwise::WorkingFolder() {
  DWORD n = GetCurrentDirectoryA(0, nullptr);
  std::string dir(n + 1, '\0');
  n = GetCurrentDirectoryA(n + 1, dir.data());
  dir.resize(n);
  return dir;
}

void TfKerfwise::SelectDestination(int option) {
  RadioButton1.SetChecked(option == 1);
  RadioButton2.SetChecked(option == 2);
  RadioButton3.SetChecked(option == 3);
}

int TfKerfwise::SelectedDestination() {
  if (RadioButton2.Checked()) return 2;
  if (RadioButton3.Checked()) return 3;
  return 1;
}

}  // namespace kerfwise
