// A small program over the window toolkit for its tests: one form with a
// control of each kind, a modal form, a timer and a menu, and handlers that
// report what happened in the label lResult.
#include "toolkit/Error.h"
#include <stdexcept>

#include "tests/toolkit/ProbeIds.h"
#include "toolkit/App.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/Hints.h"
#include "toolkit/Menu.h"
#include "toolkit/Timer.h"

namespace {

class TfModal : public kw::Form {
 public:
  void Create() {
    CreateForm("TfProbeModal", "Modal", 240, 120);
    bClose.Create(hwnd_, probe::kModalCancel, "Cancel", 80, 40, 75, 25);
    SetCancelControl(probe::kModalCancel);
  }
  kw::Button bClose;

 protected:
  void Command(int id, int) override {
    if (id == probe::kModalCancel) Close();
  }
};

class TfProbe : public kw::Form {
 public:
  void Create() {
    CreateForm("TfProbe", "Probe", 420, 300, kw::kSingleStyle);
    lResult.Create(hwnd_, probe::kResult, "ready", 8, 8);
    bFail.Create(hwnd_, probe::kFail, "Fail", 8, 32, 75, 25);
    bModal.Create(hwnd_, probe::kModal, "Modal", 88, 32, 75, 25);
    bTimer.Create(hwnd_, probe::kTimer, "Timer", 168, 32, 75, 25);
    mLines.Create(hwnd_, probe::kLines, 8, 64, 200, 60, kw::Memo::kReadOnly | kw::Memo::kBorder);
    mLines.AddLine("first");
    mLines.AddLine("second");
    lbItems.Create(hwnd_, probe::kItems, 216, 64, 100, 60);
    lbItems.Add("one");
    lbItems.Add("two");
    cbCheck.Create(hwnd_, probe::kCheck, "Check", 8, 132, 80, 20);
    cbCheck.SetChecked(true);
    ComboBox1.Create(hwnd_, probe::kCombo, 100, 132, 120, 100);
    ComboBox1.Add("alpha");
    ComboBox1.Add("beta");
    ComboBox1.SetItemIndex(1);
    eFolder.Create(hwnd_, probe::kFolder, "C:\\", 8, 160, 250, 21, "Select Directory");
    Guage.Create(hwnd_, probe::kGauge, 8, 190, 200, 16);
    Guage.SetPosition(40);
    HMENU file = MainMenu1.AddPopup("&File");
    MainMenu1.AddItem(file, probe::kMenuHello, "&Hello");
    MainMenu1.Attach(hwnd_);
    Hints1.Create(hwnd_);
    Hints1.Add(bFail, "Raises an error");
    tTick.Init(hwnd_, probe::kTickTimer, 100);
  }

  kw::Label lResult;
  kw::Button bFail, bModal, bTimer;
  kw::Memo mLines;
  kw::ListBox lbItems;
  kw::CheckBox cbCheck;
  kw::ComboBox ComboBox1;
  kw::FolderEdit eFolder;
  kw::ProgressBar Guage;
  kw::MainMenu MainMenu1;
  kw::Hints Hints1;
  kw::Timer tTick;
  TfModal* modal = nullptr;

 protected:
  void Command(int id, int code) override {
    switch (id) {
      case probe::kFail:
        lResult.SetText("before the error");
        throw kw::Error("Something went wrong");
      case probe::kModal:
        lResult.SetText("modal open");
        modal->ShowModal();
        lResult.SetText("modal returned");
        break;
      case probe::kTimer:
        tTick.SetEnabled(true);
        break;
      case probe::kMenuHello:
        lResult.SetText("hello from the menu");
        break;
      case probe::kItems:
        if (code == LBN_SELCHANGE) lResult.SetText("picked " + lbItems.Item(lbItems.ItemIndex()));
        break;
    }
  }
  void Timer(UINT id) override {
    if (id != probe::kTickTimer) return;
    tTick.SetEnabled(false);
    lResult.SetText("tick");
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  kw::App().Initialize();
  kw::App().Title = "Probe Title";
  TfProbe main;
  TfModal modal;
  main.Create();
  modal.Create();
  main.modal = &modal;
  kw::App().Run();
  return 7;
}
