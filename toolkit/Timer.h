// A window timer bound to its form: WM_TIMER arrives at the form's Timer(id).
#pragma once
#include <windows.h>

namespace kw {

class Timer {
 public:
  // Binds the timer to a window; it stays disabled until SetEnabled(true).
  void Init(HWND owner, UINT id, UINT interval) {
    owner_ = owner;
    id_ = id;
    interval_ = interval;
  }
  void SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (on) SetTimer(owner_, id_, interval_, nullptr);
    else KillTimer(owner_, id_);
  }
  bool Enabled() const { return enabled_; }
  UINT Id() const { return id_; }

 private:
  HWND owner_ = nullptr;
  UINT id_ = 0;
  UINT interval_ = 0;
  bool enabled_ = false;
};

}  // namespace kw
