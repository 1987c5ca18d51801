// The main window's controls, menu and hints, and the routing of its messages
// to the handlers (KerfwiseHandlers.cpp).
#include "kerfwise/window/uKerfwise.h"

#include "kerfwise/window/KerfwiseIds.h"
#include "kerfwise/window/Placement.h"

namespace kerfwise {

namespace {
// Posted at the first activation: the start-up runs after the activation is done.
constexpr UINT kStartUp = WM_APP + 1;
}  // namespace

void FileList::Create(HWND parent, int id, int x, int y, int w, int h) {
  CreateControl(parent, "LISTBOX", "",
                LBS_SORT | LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                    WS_TABSTOP,
                WS_EX_CLIENTEDGE, x, y, w, h, id);
}

std::vector<int> FileList::Selection() const {
  int n = int(SendMessageA(h_, LB_GETSELCOUNT, 0, 0));
  std::vector<int> sel(n > 0 ? size_t(n) : 0);
  if (n > 0) SendMessageA(h_, LB_GETSELITEMS, WPARAM(n), LPARAM(sel.data()));
  return sel;
}

TfKerfwise::~TfKerfwise() = default;

void TfKerfwise::Create(TAboutBox& about) {
  about_ = &about;
  CreateForm("TfKerfwise", "The Kerfwise for Windows 95/98", 377, 300, kw::kSingleStyle);
  CreateMenu();
  SetClientSize(369, 246);
  CenterOnScreen(Handle());
  CreateControls();
  AddHints();
  dp1.SetOnFileDrop(this);
  SetActiveControl(Button1.Handle());
}

void TfKerfwise::CreateControls() {
  HWND f = Handle();
  Label1.Create(f, ids::Label1, "Files selected for Slicing.", 8, 6, 200, 13);
  dp1.Create(f, ids::dp1, 8, 22, 272, 92);
  filenames.Create(dp1.Handle(), ids::filenames, 0, 0, 272, 92);
  Button1.Create(f, ids::Button1, "&Add", 288, 22, 73, 23);
  Button2.Create(f, ids::Button2, "&Remove", 288, 52, 73, 23);
  Button3.Create(f, ids::Button3, "Remove &All", 288, 82, 73, 23);

  RadioGroup1.Create(f, ids::RadioGroup1, "Sliced File Path Location", 8, 118, 196, 78);
  RadioButton1.Create(f, ids::RadioButton1, "Current Directory", 16, 134, 120, 17, true);
  RadioButton2.Create(f, ids::RadioButton2, "Floppy Disk", 16, 153, 84, 17, false);
  ComboBox1.Create(f, ids::ComboBox1, 100, 151, 50, 80);
  ComboBox1.Add("A:");
  ComboBox1.Add("B:");
  ComboBox1.SetItemIndex(0);
  RadioButton3.Create(f, ids::RadioButton3, "Sliced Path", 16, 173, 84, 17, false);
  eSlicePath.Create(f, ids::eSlicePath, "C:\\", 100, 171, 98, 21, "Sliced Path");
  RadioButton1.SetChecked(true);

  delfile.Create(f, ids::delfile, "Del FILE after Slice", 210, 122, 158, 17);
  // Ends the destination group for the keyboard's arrow keys.
  SetWindowLongA(delfile.Handle(), GWL_STYLE, GetWindowLongA(delfile.Handle(), GWL_STYLE) | WS_GROUP);
  delcat.Create(f, ids::delcat, "Del FILE after concat", 210, 141, 158, 17);
  cbRightClick.Create(f, ids::cbRightClick, "Right click menu support", 210, 160, 158, 17);
  cbRightClick.SetChecked(true);

  Label3.Create(f, ids::Label3, "File Slice Size:", 8, 207, 84, 13);
  slicesize.Create(f, ids::slicesize, 94, 203, 56, 140);
  for (const char* s : {"2.88", "2.00", "1.68", "1.44", "1.02", "1.00", "0.75", "0.50"}) slicesize.Add(s);
  slicesize.SetItemIndex(3);
  Label2.Create(f, ids::Label2, "MB", 154, 207, 20, 13);

  Label4.Create(f, ids::Label4, "Working", 8, 229, 50, 13);
  bar.Create(f, ids::bar, 60, 227, 136, 14);
  Button5.Create(f, ids::Button5, "&Slice", 206, 216, 75, 25);
  Button6.Create(f, ids::Button6, "Exit", 286, 216, 75, 25);
  Button4.Create(f, ids::Button4, "Stop", 286, 216, 75, 25);
  Button4.Hide();
}

void TfKerfwise::CreateMenu() {
  using namespace ids;
  HMENU file = menu_.AddPopup("&File");
  menu_.AddItem(file, Slicethem1, "&Slice them");
  menu_.AddItem(file, Exit1, "&Exit");
  HMENU edit = menu_.AddPopup("&Edit");
  menu_.AddItem(edit, Add1, "&Add");
  menu_.AddItem(edit, Delete1, "&Delete");
  menu_.AddItem(edit, Clear1, "&Clear");
  HMENU help = menu_.AddPopup("&Help");
  menu_.AddItem(help, Help2, "&Help");
  menu_.AddItem(help, About1, "&About");
  menu_.Attach(Handle());
}

void TfKerfwise::AddHints() {
  tips_.Create(Handle());
  tips_.Set(RadioButton1.Handle(), "Files are sliced to the current directory.");
  tips_.Set(RadioButton2.Handle(), "Files are sliced to a floppy disk.");
  tips_.Set(RadioButton3.Handle(), "Files are sliced to this directory.");
  tips_.Set(delfile.Handle(), "Delete the SLICED file after ");
  tips_.Set(delcat.Handle(), "Delete sliceed files after rebuilding original file.");
  tips_.Set(cbRightClick.Handle(), "Allow right click context menu when files are selected in Windows 95.");
  const char* size = "Approzimate file chunk size.";
  tips_.Set(slicesize.Handle(), size);
  if (HWND inner = GetWindow(slicesize.Handle(), GW_CHILD)) tips_.Set(inner, size);
  eSlicePathChange();
}

void TfKerfwise::Command(int id, int code) {
  using namespace ids;
  if (id == ids::eSlicePath) {
    if (code == EN_CHANGE) eSlicePathChange();
    return;
  }
  if (id == ids::cbRightClick) {
    if (code == BN_CLICKED) cbRightClickClick();
    return;
  }
  if (code != BN_CLICKED) return;  // menu commands come with 0, which is BN_CLICKED too
  switch (id) {
    case ids::Button1: case Add1: Button1Click(); break;
    case ids::Button2: case Delete1: Button2Click(); break;
    case ids::Button3: case Clear1: Button3Click(); break;
    case ids::Button4: Button4Click(); break;
    case ids::Button5: case Slicethem1: Button5Click(); break;
    case ids::Button6: case Exit1: Button6Click(); break;
    case Help2: Help2Click(); break;
    case About1: About1Click(); break;
  }
}

LRESULT TfKerfwise::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && !activated_) {
        activated_ = true;
        PostMessageA(Handle(), kStartUp, 0, 0);
      }
      break;
    case kStartUp:
      FormActivate();
      return 0;
    case WM_CLOSE:
      CloseWindow();
      return 0;
  }
  return kw::Form::HandleMessage(msg, wp, lp);
}

}  // namespace kerfwise
