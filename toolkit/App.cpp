#include "toolkit/App.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <exception>

#include "toolkit/Form.h"
#include "toolkit/Silent.h"

namespace kw {

Application& App() {
  static Application app;
  return app;
}

void Application::Initialize() { InitCommonControls(); }

void Application::Run() {
  try {
    if (MainForm) MainForm->Show();
  } catch (const std::exception& e) {
    ShowException(e.what());
  }
  while (!terminated_) HandleMessage();
}

// Keyboard navigation (Tab, Esc, Enter) as in dialogs, for the active form.
bool Application::Dispatch(MSG& msg) {
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return false;
  }
  HWND active = GetActiveWindow();
  if (active && IsDialogMessageA(active, &msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

void Application::HandleMessage() {
  MSG msg;
  if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
    terminated_ = true;
    return;
  }
  Dispatch(msg);
}

void Application::ProcessMessages() {
  MSG msg;
  while (!terminated_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) Dispatch(msg);
}

void Application::Terminate() {
  PostQuitMessage(0);
}

void Application::ShowException(const char* text) {
  MsgBox(GetActiveWindow(), text, Title.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace kw
