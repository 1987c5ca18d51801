// Reading and answering message boxes. The icon of another process cannot be
// asked for (its HICON means nothing here), so it is recognised on screen: each
// stock icon is drawn here at the icon control's size, and the one whose opaque
// pixels match the captured control wins.
#include "tests/kit/Internal.h"

#include <algorithm>

namespace uikit {

using namespace detail;

namespace {

constexpr int kTextId = 0xFFFF;

bool IsIconStatic(HWND w) {
  return lstrcmpiA(ClassOf(w).c_str(), "Static") == 0 &&
         (GetWindowLongA(w, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// Renders `icon` at w x h on a background of `bg`.
std::vector<COLORREF> Render(HICON icon, int w, int h, COLORREF bg) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  HDC mem = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<COLORREF> px;
  if (bmp) {
    HGDIOBJ old = SelectObject(mem, bmp);
    HBRUSH brush = CreateSolidBrush(bg);
    RECT r{0, 0, w, h};
    FillRect(mem, &r, brush);
    DeleteObject(brush);
    DrawIconEx(mem, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const uint8_t* p = static_cast<const uint8_t*>(bits);
    for (int i = 0; i < w * h; ++i, p += 4) px.push_back(RGB(p[2], p[1], p[0]));
    SelectObject(mem, old);
    DeleteObject(bmp);
  }
  DeleteDC(mem);
  if (px.empty()) throw Failure("cannot draw a stock icon");
  return px;
}

// Share of the icon's opaque pixels that the capture shows, 0..1.
double Match(const Image& shot, HICON icon) {
  int w = shot.width, h = shot.height;
  std::vector<COLORREF> onBlack = Render(icon, w, h, RGB(0, 0, 0));
  std::vector<COLORREF> onWhite = Render(icon, w, h, RGB(255, 255, 255));
  int opaque = 0, same = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      size_t i = static_cast<size_t>(y) * w + x;
      if (!SameColor(onBlack[i], onWhite[i], 8)) continue;  // transparent or blended
      ++opaque;
      if (SameColor(onBlack[i], shot.Pixel(x, y), 24)) ++same;
    }
  }
  return opaque ? static_cast<double>(same) / opaque : 0;
}

Icon Recognise(HWND iconStatic) {
  struct Stock {
    Icon kind;
    LPCSTR id;
  };
  const Stock stock[] = {{Icon::Warning, IDI_EXCLAMATION},
                         {Icon::Question, IDI_QUESTION},
                         {Icon::Information, IDI_ASTERISK},
                         {Icon::Error, IDI_HAND}};
  // The box may not be painted yet when it first shows: look a few times.
  Icon best = Icon::Unknown;
  DWORD start = GetTickCount();
  do {
    Image shot = CaptureRect(ClientRect(iconStatic));
    double bestScore = 0.9;
    for (const Stock& s : stock) {
      double score = Match(shot, LoadIconA(nullptr, s.id));
      if (score > bestScore) {
        bestScore = score;
        best = s.kind;
      }
    }
    if (best != Icon::Unknown) break;
    Sleep(50);
  } while (GetTickCount() - start < 3000);
  return best;
}

}  // namespace

const char* IconName(Icon i) {
  switch (i) {
    case Icon::None: return "none";
    case Icon::Warning: return "warning";
    case Icon::Question: return "question";
    case Icon::Information: return "information";
    case Icon::Error: return "error";
    case Icon::Unknown: break;
  }
  return "unknown";
}

bool MsgBox::HasButton(int id) const {
  return std::any_of(buttons.begin(), buttons.end(), [id](const MsgButton& b) { return b.id == id; });
}

MsgBox ReadMsgBox(HWND box) {
  MsgBox m;
  m.hwnd = box;
  m.caption = Text(box);
  HWND iconStatic = nullptr;
  HWND textStatic = nullptr;
  std::vector<HWND> buttons;
  for (HWND c : Children(box)) {
    if (!IsWindowVisible(c)) continue;
    std::string cls = ClassOf(c);
    if (IsIconStatic(c)) {
      iconStatic = c;
    } else if (lstrcmpiA(cls.c_str(), "Button") == 0) {
      buttons.push_back(c);
    } else if (lstrcmpiA(cls.c_str(), "Static") == 0 && (!textStatic || GetDlgCtrlID(c) == kTextId)) {
      textStatic = c;
    }
  }
  if (textStatic) m.text = Text(textStatic);
  std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) { return WindowRect(a).left < WindowRect(b).left; });
  for (HWND b : buttons) m.buttons.push_back({GetDlgCtrlID(b), Text(b)});
  // Wine keeps an empty icon control in boxes without an icon.
  if (iconStatic && Ask(iconStatic, STM_GETICON)) m.icon = Recognise(iconStatic);
  return m;
}

// A program's own dialogs share the class with message boxes; a box holds
// only its text, its icon and the standard buttons (IDOK .. IDCONTINUE).
bool IsMessageBox(HWND w) {
  if (ClassOf(w) != "#32770") return false;
  int statics = 0, buttons = 0;
  for (HWND c : Children(w)) {
    std::string cls = ClassOf(c);
    if (lstrcmpiA(cls.c_str(), "Static") == 0) {
      ++statics;
    } else if (lstrcmpiA(cls.c_str(), "Button") == 0 && GetDlgCtrlID(c) >= IDOK && GetDlgCtrlID(c) <= 11) {
      ++buttons;
    } else {
      return false;
    }
  }
  return statics <= 2 && buttons >= 1;
}

MsgBox WaitMsgBox(const Process& p, const std::string& caption, int timeoutMs) {
  HWND box = nullptr;
  auto find = [&] {
    for (HWND w : TopWindows(p.Id())) {
      try {
        if ((caption.empty() || CaptionIs(w, caption)) && IsMessageBox(w)) return w;
      } catch (const Failure&) {
        // gone or hung while we looked: not the box
      }
    }
    return HWND{};
  };
  WaitUntil([&] { return (box = find()) != nullptr; },
            "no message box " + (caption.empty() ? std::string("") : Quote(caption) + " ") + "of " + p.Name(),
            timeoutMs);
  return ReadMsgBox(box);
}

void Answer(const MsgBox& box, int buttonId, int timeoutMs) {
  HWND b = FindChild(box.hwnd, buttonId);
  if (b && IsWindowVisible(b)) {
    Click(b);
  } else if (buttonId == IDCANCEL) {
    Post(box.hwnd, WM_COMMAND, IDCANCEL, 0);  // what Esc or the close box does
  } else {
    throw Failure("message box " + Quote(box.caption) + " has no button id " + std::to_string(buttonId));
  }
  WaitGone(box.hwnd, "message box " + Quote(box.caption), timeoutMs);
}

}  // namespace uikit
