// TDropPanel: a panel that takes files dragged from the shell (WM_DROPFILES)
// and hands their full paths to its OnFileDrop handler.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/Controls.h"

namespace kerfwise {

class TDropPanel;

// TFileDropEvent: Files in the order the shell gave them, X and Y the drop
// point in the panel's client coordinates.
class FileDropHandler {
 public:
  virtual ~FileDropHandler() = default;
  virtual void FileDrop(TDropPanel& sender, const std::vector<std::string>& files, int x, int y) = 0;
};

class TDropPanel : public kw::Panel {
 public:
  void Create(HWND parent, int id, int x, int y, int w, int h);
  // Registers the panel with the shell as a drop target when a handler is
  // given, unregisters it when null.
  void SetOnFileDrop(FileDropHandler* handler);
  FileDropHandler* OnFileDrop() const { return handler_; }

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  void WmDropFiles(HDROP drop);
  WNDPROC base_ = nullptr;
  FileDropHandler* handler_ = nullptr;
};

}  // namespace kerfwise
