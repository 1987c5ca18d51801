#include "kerfwise/window/DropPanel.h"

#include <shellapi.h>

#include <exception>

#include "toolkit/App.h"

namespace kerfwise {

namespace {
const char kSelf[] = "KwDropPanel";
}

void TDropPanel::Create(HWND parent, int id, int x, int y, int w, int h) {
  kw::Panel::Create(parent, id, x, y, w, h, kw::Panel::kNone);
  // The panel class is the toolkit's; the drop message is caught in front of it.
  SetPropA(h_, kSelf, HANDLE(this));
  base_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h_, GWLP_WNDPROC, LONG_PTR(&Proc)));
}

void TDropPanel::SetOnFileDrop(FileDropHandler* handler) {
  handler_ = handler;
  DragAcceptFiles(h_, handler ? TRUE : FALSE);
}

LRESULT CALLBACK TDropPanel::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<TDropPanel*>(GetPropA(h, kSelf));
  if (!self) return DefWindowProcA(h, msg, wp, lp);
  WNDPROC base = self->base_;
  if (msg == WM_DROPFILES) {
    // Nothing may unwind through the system's code.
    try {
      self->WmDropFiles(HDROP(wp));
    } catch (const std::exception& e) {
      kw::App().ShowException(e.what());
    } catch (...) {
      kw::App().ShowException("Unknown error");
    }
    return 0;
  }
  if (msg == WM_NCDESTROY) RemovePropA(h, kSelf);
  return CallWindowProcA(base, h, msg, wp, lp);
}

// The drop is finished before the handler runs, whatever the handler does.
void TDropPanel::WmDropFiles(HDROP drop) {
  std::vector<std::string> files;
  POINT pt{};
  try {
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      UINT len = DragQueryFileA(drop, i, nullptr, 0);
      std::string name(len + 1, '\0');
      UINT got = DragQueryFileA(drop, i, name.data(), len + 1);
      name.resize(got);
      files.push_back(name);
    }
    DragQueryPoint(drop, &pt);
  } catch (...) {
    files.clear();
  }
  DragFinish(drop);
  if (!files.empty() && handler_) handler_->FileDrop(*this, files, pt.x, pt.y);
}

}  // namespace kerfwise
