// UNPACK32.DLL itself under Wine: whatever goes wrong inside it, the caller
// gets a message and a non-zero result, and no temporary file stays.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <stdexcept>

#include "tests/unpack/ZipBuilder.h"
#include "unpack/FileIo.h"
#include "unpack/UnzipApi.h"

namespace {

struct Heard {
  std::vector<std::string> begun;
  std::vector<std::pair<int, std::string>> messages;
  int misbehave = 0;  // at the first file: 1 throws, 2 faults
};
Heard* g_heard = nullptr;

int32_t UNZIP_API Listen(UnzipReport* r) {
  Heard& h = *g_heard;
  if (r->Action == kActMessage) h.messages.emplace_back(r->ErrCode, r->Text);
  if (r->Action != kActFileBegin) return 0;
  h.begun.push_back(r->Text);
  if (h.misbehave == 1) throw std::runtime_error("the caller's handler failed");
  if (h.misbehave == 2) *static_cast<volatile int*>(nullptr) = 1;
  return 0;
}

class Unpack32 : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmp[MAX_PATH];
    GetTempPathA(sizeof tmp, tmp);
    dir_ = std::string(tmp) + "unpack32_" + std::to_string(GetCurrentProcessId()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    CreateDirectoryA(dir_.c_str(), nullptr);
    SetCurrentDirectoryA(dir_.c_str());
    g_heard = &heard_;
  }
  void TearDown() override {
    SetCurrentDirectoryA("\\");
    for (const auto& n : Files()) DeleteFileA((dir_ + "\\" + n).c_str());
    DeleteFileA(zip_.c_str());
    RemoveDirectoryA(dir_.c_str());
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> out;
    WIN32_FIND_DATAA fd;
    HANDLE f = FindFirstFileA((dir_ + "\\*").c_str(), &fd);
    if (f == INVALID_HANDLE_VALUE) return out;
    do
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(fd.cFileName);
    while (FindNextFileA(f, &fd));
    FindClose(f);
    return out;
  }
  std::string Read(const std::string& name) const {
    std::string s;
    HANDLE h = CreateFileA((dir_ + "\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) s.append(buf, n);
    CloseHandle(h);
    return s;
  }
  // The archive beside the folder, so that it is not among its files.
  void Archive(const std::vector<ziptest::Item>& items) {
    zip_ = dir_ + ".zip";
    const std::string data = ziptest::Build(items);
    HANDLE h = CreateFileA(zip_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, data.data(), DWORD(data.size()), &n, nullptr);
    CloseHandle(h);
    std::strcpy(name_, zip_.c_str());
  }
  int32_t Extract() {
    auto req = std::make_unique<UnzipRequest>();
    req->Version = kUnzipVersion;
    req->Callback = Listen;
    req->Reserved40 = 1;
    req->ZipName = name_;
    req->CheckWord = kUnzipCheckWord;
    if (badName) req->ZipName = reinterpret_cast<char*>(16);
    if (badSpec) {
      req->ArgCount = 1;
      req->FileSpecs[0] = reinterpret_cast<char*>(24);
    }
    return UnzipExtract(req.get());
  }
  bool badName = false, badSpec = false;
  std::string dir_, zip_;
  char name_[kUnzipNameBuffer] = "";
  Heard heard_;
};

TEST_F(Unpack32, EntriesLandingOnOneFileFailTheCall) {
  Archive({{"readme.txt", "top"}, {"docs/README.TXT", "docs"}, {"setup.ini", "ini"}});
  EXPECT_EQ(Extract(), kUzSkipped);
  ASSERT_EQ(heard_.messages.size(), 1u);
  EXPECT_EQ(heard_.messages[0].second, "error: docs/README.TXT and readme.txt both land on README.TXT\r\n");
  EXPECT_EQ(Read("readme.txt"), "top");
  EXPECT_EQ(Read("setup.ini"), "ini");
}

TEST_F(Unpack32, FaultsAndExceptionsAreMessagesAndNonZeroResults) {
  Archive({{"a.txt", std::string(100000, 'a')}, {"b.txt", "b"}});
  struct Case {
    const char* what;
    bool name, spec;
    int misbehave;
    const char* says;
  } cases[] = {
      {"archive name at a bad address", true, false, 0, "processor fault (code C0000005)"},
      {"file specification at a bad address", false, true, 0, "processor fault (code C0000005)"},
      {"callback throws", false, false, 1, "the caller's handler failed"},
      {"callback faults", false, false, 2, "processor fault (code C0000005)"},
  };
  for (const Case& c : cases) {
    heard_ = {};
    heard_.misbehave = c.misbehave;
    badName = c.name;
    badSpec = c.spec;
    EXPECT_EQ(Extract(), kUzFault) << c.what;
    ASSERT_EQ(heard_.messages.size(), 1u) << c.what;
    EXPECT_EQ(heard_.messages[0].first, kUzFault);
    EXPECT_NE(heard_.messages[0].second.find(c.says), std::string::npos) << heard_.messages[0].second;
    EXPECT_TRUE(Files().empty()) << c.what;
  }
  // The library is whole afterwards.
  heard_ = {};
  badName = badSpec = false;
  EXPECT_EQ(Extract(), 0);
  EXPECT_EQ(Read("b.txt"), "b");
  EXPECT_EQ(Files().size(), 2u);
}

TEST_F(Unpack32, AbandonedOutputClosesAndRemovesItsFiles) {
  // What the library does after a fault cut an entry off in the middle.
  auto out = unpack::FolderOutput(dir_);
  out->CreateNew("~unp1.tmp").release()->Write("half", 4);  // its owner never comes back
  auto done = out->CreateNew("~unp2.tmp");
  done->Write("whole", 5);
  ASSERT_TRUE(done->Close(0x5A210000));
  ASSERT_TRUE(out->Rename("~unp2.tmp", "kept.txt"));
  EXPECT_EQ(Files().size(), 2u);
  out->Abandon();
  EXPECT_EQ(Files(), std::vector<std::string>{"kept.txt"});
}

}  // namespace
