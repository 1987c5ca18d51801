// The read-back after writing: disks changed between writing and verifying
// (a bad sector, another program) fail it with what differs, and the disks
// written go again, as the program does after a failed verification.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "mksetup/Builder.h"
#include "mksetup/Fs.h"
#include "toolkit/Error.h"

using namespace mksetup;

namespace {

struct Written {
  Project p;
  Options opt;
  Plan plan;

  explicit Written(const std::string& out) {
    p.setupExe = {"setup.exe", "", std::string(3000, 's'), 0};
    p.unpackDll = {"UNPACK32.DLL", "", std::string(2000, 'u'), 0};
    p.beside.push_back({"copyBrin.txt", "", "Kerf Demo", 0});
    std::string data(150000, '\0');
    uint32_t x = 7;
    for (char& c : data) c = char((x = x * 1103515245u + 12345u) >> 24);  // does not deflate
    p.package.push_back({"big.bin", "", data, 1000000000});
    p.package.push_back({"readme.txt", "", "read me\r\n", 1000000000});
    std::string why;
    EXPECT_TRUE(ParseDiskFormat("100000", &opt.disk, &why)) << why;
    opt.out = out;
    EXPECT_TRUE(MakePlan(opt, p, &plan, &why)) << why;
    WriteDisks(opt, plan);
  }
  // The verification's failure text, empty when it passed.
  std::string Verify() {
    try {
      EXPECT_EQ(VerifyDisks(opt, p, plan), 2);
    } catch (const kw::Error& e) {
      return e.what();
    }
    return "";
  }
};

}  // namespace

TEST(Verify, ADiskChangedAfterWritingFailsAndTheDisksGo) {
  char tmpl[] = "/tmp/mksetup-verify-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string out = JoinPath(tmpl, "out");
  struct Change {
    const char* what;
    std::function<void(const std::string& disks)> change;
    const char* says;
  } changes[] = {
      {"nothing", [](const std::string&) {}, ""},
      {"a byte of part 2",
       [](const std::string& d) {
         std::string part = ReadFile(JoinPath(d, "disk2/package.2"));
         part[part.size() / 2] ^= 1;
         WriteFile(JoinPath(d, "disk2/package.2"), part);
       },
       "verification failed: disk2/package.2 does not match its record in setup.lst"},
      {"a file beside the installer",
       [](const std::string& d) { WriteFile(JoinPath(d, "disk1/copyBrin.txt"), "Kerf Demo!"); },
       "verification failed: disk1/copyBrin.txt differs from its source"},
      {"the package list",
       [](const std::string& d) { WriteFile(JoinPath(d, "disk1/setup.lst"), ":PACKAGE\r\npackage.1\r\n:\r\n"); },
       "verification failed: disk1/setup.lst differs from its source"},
  };
  for (const Change& c : changes) {
    Written w(out);
    ASSERT_GE(w.plan.disks.size(), 2u);
    c.change(out);
    EXPECT_EQ(w.Verify(), c.says) << c.what;
    RemoveDisks(w.opt);
    for (size_t i = 0; i < w.plan.disks.size(); ++i)
      EXPECT_FALSE(IsFolder(JoinPath(out, "disk" + std::to_string(i + 1)))) << c.what;
  }
  RemoveTree(tmpl);
}
