// The application object: the message loop, the main window (the first form
// created) and the program's default error box.
#pragma once
#include <windows.h>

#include <string>

namespace kw {

class Form;

class Application {
 public:
  // Loads the common controls (progress bar, tool tips).
  void Initialize();
  // Shows the main form, then dispatches messages until Terminate.
  void Run();
  // Waits for one message and dispatches it.
  void HandleMessage();
  // Dispatches what is pending, without waiting.
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // The default error box: the error's text, the Title as caption.
  void ShowException(const char* text);

  std::string Title;
  Form* MainForm = nullptr;

 private:
  bool Dispatch(MSG& msg);
  bool terminated_ = false;
};

Application& App();

}  // namespace kw
