// What the slicing engine asks of the window that runs it. Implemented by the
// splitter's main window TfKerfwise, by the test hosts in tests/slicing and by
// the benchmark driver. Every call comes on the window's own thread, from inside
// RunSlicing.
#pragma once
#include <string>

namespace kerfwise {

class SliceHost {
 public:
  virtual ~SliceHost() = default;

  // The run begins: hide Exit, show Stop, disable every other control, clear
  // the Stop button's flag.
  virtual void RunStarted() = 0;
  // The run is over (done, stopped or failed): bar to 0, Exit shown, Stop
  // hidden, controls enabled again. Not called after Cancel at a disk prompt.
  virtual void RunEnded() = 0;
  // Progress bar position, 0 to 100; called only when the value changes.
  virtual void SetProgress(int percent) = 0;
  // Paint what waits to be painted, process pending window messages, and tell
  // whether Stop has been pressed. Called at least every 50 ms during copying.
  virtual bool ProcessMessages() = 0;
  // Modal confirmation box, caption "Confirm", question icon, OK and Cancel.
  // true for OK.
  virtual bool DiskPrompt(const std::string& text) = 0;
  // Error message box with this text.
  virtual void ShowError(const std::string& text) = 0;
  // Information box after the run: something the user must know although
  // every set is whole (a joiner copy that found no room on the last disk).
  virtual void ShowNote(const std::string& text) = 0;
  // Cancel at a disk prompt: close the main window, which ends the program.
  virtual void CloseMainWindow() = 0;
};

}  // namespace kerfwise
