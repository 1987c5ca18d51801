// TZipExtractor driving the real UNPACK32.DLL under Windows (Wine): the sample
// package made by Info-ZIP's zip at build time, damaged and hostile archives,
// and the component's own rules around the call.
#include "toolkit/Error.h"
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "setup/components/ZipExtr.h"
#include "tests/unpack/ZipBuilder.h"
#include "toolkit/PathText.h"

using namespace setup;

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void Spit(const std::string& path, const std::string& data) { std::ofstream(path, std::ios::binary) << data; }

bool IsFile(const std::string& p) {
  const DWORD a = GetFileAttributesA(p.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  const HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string n = fd.cFileName;
      if (n == "." || n == "..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(dir + "\\" + n);
      else
        DeleteFileA((dir + "\\" + n).c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

class ZipExtrWin : public ::testing::Test {
 public:
  void SetUp() override {
    here_ = Env("KW_BIN") + "\\tests\\zipextr";
    sample_ = here_ + "\\zipsample";
    work_ = here_ + "\\work";
    RemoveTree(work_);
    ASSERT_TRUE(CreateDirectoryA(work_.c_str(), nullptr));
    out_ = work_ + "\\out";
    CreateDirectoryA(out_.c_str(), nullptr);
    z.OnProgress = TProgressEvent::Bind<&ZipExtrWin::Progress>(this);
    z.OnMessage = TMessageEvent::Bind<&ZipExtrWin::Message>(this);
  }
  void TearDown() override {
    SetCurrentDirectoryA(here_.c_str());
    RemoveTree(work_);
  }
  void Progress(TZipExtractor* Sender, ProgressType t, const std::string& name, int32_t) {
    EXPECT_EQ(Sender, &z);
    if (t == ptFileBegin) begun.push_back(name);
    if (onProgress) onProgress(this);
  }
  void Message(TZipExtractor*, int32_t code, const std::string& text) {
    messages.push_back(std::to_string(code) + ":" + text.c_str());
    codes.push_back(code);
  }
  std::string here_, sample_, work_, out_;
  TZipExtractor z;
  std::vector<std::string> begun, messages;
  std::vector<int32_t> codes;
  void (*onProgress)(ZipExtrWin*) = nullptr;
};

const char* const kSampleFiles[] = {"readme.txt", "setup.ini", "docs\\guide.txt", "bin\\noise.bin"};

TEST_F(ZipExtrWin, SamplePackageLandsFlatOneReportPerFile) {
  z.SetZipFilename(here_ + "\\sample.zip");
  EXPECT_EQ(z.Count(), 6);  // four files, two folders
  z.ExtrBaseDir = out_;
  z.Extract();
  EXPECT_EQ(z.LastResult(), 0);
  EXPECT_TRUE(messages.empty()) << messages[0];
  EXPECT_EQ(begun, (std::vector<std::string>{"readme.txt", "setup.ini", "docs/guide.txt", "bin/noise.bin"}));
  for (const char* f : kSampleFiles)
    EXPECT_EQ(Slurp(out_ + "\\" + kw::ExtractFileName(f)), Slurp(sample_ + "\\" + f)) << f;
  char cur[MAX_PATH];
  GetCurrentDirectoryA(sizeof cur, cur);
  EXPECT_TRUE(kw::SameText(kw::StripBackslash(cur), out_));
}

TEST_F(ZipExtrWin, FoldersKeptWithDirNames) {
  z.SetZipFilename(here_ + "\\sample.zip");
  z.ExtrBaseDir = out_;
  z.ExtrOptions = {ExtrDirNames};
  z.Extract();
  EXPECT_EQ(z.LastResult(), 0);
  for (const char* f : kSampleFiles) EXPECT_EQ(Slurp(out_ + "\\" + f), Slurp(sample_ + "\\" + f)) << f;
}

TEST_F(ZipExtrWin, DamagedArchiveGivesMessagesAndNoFile) {
  std::string zip = Slurp(here_ + "\\sample.zip");
  const size_t data = 30 + uint8_t(zip[26]) + uint8_t(zip[28]);  // the first entry's data
  zip[data + 5] ^= 0x40;
  Spit(work_ + "\\bad.zip", zip);
  z.SetZipFilename(work_ + "\\bad.zip");
  z.ExtrBaseDir = out_;
  z.Extract();
  EXPECT_NE(z.LastResult(), 0);
  ASSERT_FALSE(messages.empty());
  EXPECT_NE(codes[0], 0);
  EXPECT_FALSE(IsFile(out_ + "\\" + z.DirEntries()[0].FileName));
  EXPECT_TRUE(IsFile(out_ + "\\setup.ini"));
}

TEST_F(ZipExtrWin, TraversalRefusedNothingOutside) {
  Spit(work_ + "\\evil.zip", ziptest::Build({{"..\\evil.txt", "evil"}, {"../evil2.txt", "evil"},
                                             {"C:\\evil3.txt", "evil"}, {"ok.txt", "ok"}}));
  z.SetZipFilename(work_ + "\\evil.zip");
  z.ExtrBaseDir = out_;
  z.ExtrOptions = {ExtrDirNames};
  z.Extract();
  EXPECT_NE(z.LastResult(), 0);
  EXPECT_EQ(messages.size(), 3u);
  EXPECT_FALSE(IsFile(work_ + "\\evil.txt"));
  EXPECT_FALSE(IsFile(work_ + "\\evil2.txt"));
  EXPECT_FALSE(IsFile("C:\\evil3.txt"));
  EXPECT_EQ(Slurp(out_ + "\\ok.txt"), "ok");
  EXPECT_EQ(begun, std::vector<std::string>{"ok.txt"});
}

std::string Ansi(const wchar_t* w) {
  char buf[MAX_PATH] = "";
  WideCharToMultiByte(CP_ACP, 0, w, -1, buf, sizeof buf, "_", nullptr);
  return buf;
}

TEST_F(ZipExtrWin, NonAsciiNamesInTheAnsiCodePage) {
  ziptest::Item utf8{"\xC3\x9C" "bersicht.txt", "u"}, dos{"\x9A" "nd.txt", "d"};
  utf8.flags = 0x800;  // UTF-8 name; without the flag, the DOS code page
  Spit(work_ + "\\names.zip", ziptest::Build({utf8, dos}));
  z.SetZipFilename(work_ + "\\names.zip");
  z.ExtrBaseDir = out_;
  z.Extract();
  EXPECT_EQ(z.LastResult(), 0);
  EXPECT_EQ(Slurp(out_ + "\\" + Ansi(L"\u00DCbersicht.txt")), "u");
  EXPECT_EQ(Slurp(out_ + "\\" + Ansi(L"\u00DCnd.txt")), "d");
}

TEST_F(ZipExtrWin, SpecsServeOneExtraction) {
  z.SetZipFilename(here_ + "\\sample.zip");
  z.ExtrBaseDir = out_;
  z.FSpecArgs = {"*.txt"};
  z.Extract();
  EXPECT_EQ(z.LastResult(), 0);
  EXPECT_TRUE(z.FSpecArgs.empty());
  EXPECT_EQ(begun, (std::vector<std::string>{"readme.txt", "docs/guide.txt"}));
  // Too long a spec is refused without a call.
  begun.clear();
  z.FSpecArgs = {std::string(300, 'a')};
  z.Extract();
  EXPECT_EQ(z.LastResult(), kUzBadRequest);
  EXPECT_TRUE(begun.empty());
  EXPECT_TRUE(z.FSpecArgs.empty());
  ASSERT_EQ(codes.size(), 1u);
  EXPECT_EQ(codes[0], kUzBadRequest);
}

TEST_F(ZipExtrWin, ExtractFromAHandlerDoesNothing) {
  z.SetZipFilename(here_ + "\\sample.zip");
  z.ExtrBaseDir = out_;
  onProgress = [](ZipExtrWin* t) { t->z.Extract(); };
  z.Extract();
  EXPECT_EQ(begun.size(), 4u);
  EXPECT_EQ(z.LastResult(), 0);
}

TEST_F(ZipExtrWin, FailingHandlerEndsInTheFatalBox) {
  // A first run leaves a result the failing run must not change.
  z.SetZipFilename(here_ + "\\sample.zip");
  z.ExtrBaseDir = out_;
  z.FSpecArgs = {"nothing"};
  z.Extract();
  ASSERT_EQ(z.LastResult(), kUzNoMatch);

  std::atomic<bool> done{false};
  std::string caption, text;
  const DWORD thread = GetCurrentThreadId();  // the box belongs to this thread
  std::thread watcher([&] {
    for (int i = 0; i < 200 && !done; ++i, Sleep(50)) {
      HWND box = nullptr;
      EnumThreadWindows(
          thread,
          [](HWND w, LPARAM found) {
            char cls[16] = "";
            GetClassNameA(w, cls, sizeof cls);
            if (std::string(cls) != "#32770") return TRUE;
            *reinterpret_cast<HWND*>(found) = w;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&box));
      if (!box) continue;
      char buf[256] = "";
      GetWindowTextA(box, buf, sizeof buf);
      caption = buf;
      GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
      text = buf;
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      return;
    }
  });
  onProgress = [](ZipExtrWin*) { throw kw::Error("handler failed"); };
  z.FSpecArgs = {"*.txt"};
  z.Extract();
  done = true;
  watcher.join();
  EXPECT_EQ(text, "Fatal DLL Error: abort exception");
  EXPECT_EQ(caption, "zipextr_test");
  EXPECT_EQ(z.LastResult(), kUzNoMatch);
  EXPECT_TRUE(z.FSpecArgs.empty());
  EXPECT_EQ(begun.size(), 1u);  // the library stopped at the first report
  // The component is usable again.
  onProgress = nullptr;
  z.Extract();
  EXPECT_EQ(z.LastResult(), 0);
}

TEST_F(ZipExtrWin, ArchiveThatCannotBeOpened) {
  const std::string p = work_ + "\\locked.zip";
  Spit(p, ziptest::Build({{"a", "a"}}));
  const HANDLE h = CreateFileA(p.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  try {
    z.SetZipFilename(p);
    ADD_FAILURE();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + p);
  }
  CloseHandle(h);
}

}  // namespace
