// The extraction core in memory: what lands where, and hostile archives.
#include <gtest/gtest.h>

#include "tests/unpack/ZipBuilder.h"
#include "toolkit/PathText.h"
#include "unpack/MemIo.h"
#include "unpack/UnzipApi.h"

using namespace unpack;
using ziptest::Item;

namespace {

struct Trial {
  MemOutput out;
  LogReporter rep;
  int result = -1;
  Trial& Go(const std::string& zip, Options opt = {}) {
    MemInput in(zip);
    result = Extract(in, out, rep, opt);
    return *this;
  }
  // No temporary or half-written file may stay behind.
  bool NoTemps() const {
    for (const auto& f : out.files)
      if (f.first.find("~unp") != std::string::npos) return false;
    return true;
  }
  int MaxCode() const {
    int m = 0;
    for (const auto& msg : rep.messages) m = std::max(m, msg.first);
    return m;
  }
};

std::string Text(size_t n) {
  std::string s;
  for (size_t i = 0; s.size() < n; ++i) s += "line " + std::to_string(i) + " of some text\n";
  return s.substr(0, n);
}

std::string Noise(size_t n, uint32_t seed = 1) {
  std::string s(n, '\0');
  for (char& c : s) c = char((seed = seed * 1103515245 + 12345) >> 16);
  return s;
}

Options DirNames() {
  Options o;
  o.dirNames = true;
  return o;
}

TEST(UnpackCore, StoredDeflatedAndFolders) {
  const std::string big = Text(700000), noise = Noise(300000);
  const std::string zip = ziptest::Build({{"a.txt", big},
                                          {"sub/", ""},
                                          {"sub/r.bin", noise, false},
                                          {"sub/deep/e.txt", ""},
                                          {"d.txt", "with descriptor", true, true}});
  Trial flat;
  flat.Go(zip);
  EXPECT_EQ(flat.result, 0);
  EXPECT_TRUE(flat.rep.messages.empty());
  EXPECT_EQ(flat.rep.begun, (std::vector<std::string>{"a.txt", "sub/r.bin", "sub/deep/e.txt", "d.txt"}));
  EXPECT_EQ(flat.out.files.size(), 4u);
  EXPECT_EQ(flat.out.files["a.txt"].data, big);
  EXPECT_EQ(flat.out.files["r.bin"].data, noise);
  EXPECT_EQ(flat.out.files["e.txt"].data, "");
  EXPECT_EQ(flat.out.files["d.txt"].data, "with descriptor");
  EXPECT_EQ(flat.out.files["a.txt"].dosTime, 0x5A210000u);
  EXPECT_TRUE(flat.out.folders.empty());

  Trial tree;
  tree.Go(zip, DirNames());
  EXPECT_EQ(tree.result, 0);
  EXPECT_EQ(tree.rep.begun.size(), 5u);  // the folder entry too
  EXPECT_EQ(tree.out.files["sub/r.bin"].data, noise);
  EXPECT_EQ(tree.out.files["sub/deep/e.txt"].data, "");
  EXPECT_EQ(tree.out.folders, (std::set<std::string>{"sub", "sub/deep"}));
}

TEST(UnpackCore, EmptyArchiveAndNoArchive) {
  Trial empty;
  EXPECT_EQ(empty.Go(ziptest::Build({})).result, 0);
  EXPECT_TRUE(empty.rep.messages.empty());
  for (const std::string& junk : {std::string(), std::string("PK\5\6"), Noise(100000)}) {
    Trial r;
    EXPECT_EQ(r.Go(junk).result, kUzArchive);
    ASSERT_EQ(r.rep.messages.size(), 1u);
    EXPECT_EQ(r.rep.messages[0].second.substr(r.rep.messages[0].second.size() - 2), "\r\n");
  }
}

TEST(UnpackCore, DamagedDataLeavesNothingBehind) {
  const std::string data = Text(50000);
  struct Case {
    Item item;
    const char* why;
  } cases[] = {
      {{"f.txt", data, true, false, 0, -1, 0x12345678}, "bad CRC"},
      {{"f.txt", data, false, false, 0, -1, 0x12345678}, "bad CRC"},
      {{"f.txt", data, true, false, 0, -1, -1, -1, 40000}, "data longer"},
      {{"f.txt", data, true, false, 0, -1, -1, -1, 0x7FFFFFFF}, "data shorter"},
      {{"f.txt", data, true, false, 0, -1, -1, 0xFFFFFF00}, "past the end"},
      {{"f.txt", data, false, false, 0, -1, -1, -1, 10}, "sizes do not agree"},
      {{"f.txt", Noise(1000), false, false, 0, 8}, "damaged"},  // noise as deflate data
  };
  for (const Case& c : cases) {
    Trial r;
    r.Go(ziptest::Build({c.item, {"ok.txt", "fine"}}));
    EXPECT_EQ(r.result, kUzDamaged) << c.why;
    ASSERT_EQ(r.rep.messages.size(), 1u) << c.why;
    EXPECT_NE(r.rep.messages[0].second.find(c.why), std::string::npos) << r.rep.messages[0].second;
    EXPECT_EQ(r.out.files.count("f.txt"), 0u) << c.why;
    EXPECT_EQ(r.out.files["ok.txt"].data, "fine");
    EXPECT_TRUE(r.NoTemps());
  }
}

TEST(UnpackCore, TruncatedAnywhere) {
  const std::string zip = ziptest::Build({{"a.txt", Text(3000)}, {"b.bin", Noise(500), false}});
  for (size_t n = 0; n < zip.size(); ++n) {
    Trial r;
    r.Go(zip.substr(0, n), DirNames());
    EXPECT_NE(r.result, 0) << n;
    for (const auto& f : r.out.files) EXPECT_TRUE(f.first == "a.txt" || f.first == "b.bin") << f.first;
    EXPECT_TRUE(r.NoTemps());
  }
}

TEST(UnpackCore, UnsafeNamesRefused) {
  const std::vector<std::string> bad = {"../evil.txt", "a/../../evil.txt", "..\\evil.txt", "/etc/evil",
                                        "\\evil.txt",  "C:evil.txt",       "c:\\evil.txt", "x/.. /evil",
                                        "aux.txt",     "sub/COM1",         "a\tb",         "a*b"};
  for (const bool dirNames : {false, true}) {
    std::vector<Item> items;
    for (const std::string& n : bad) items.push_back({n, "evil"});
    items.push_back({"safe/./ok.txt", "ok"});
    Options o;
    o.dirNames = dirNames;
    Trial r;
    r.Go(ziptest::Build(items), o);
    EXPECT_EQ(r.result, kUzSkipped);
    EXPECT_EQ(r.rep.messages.size(), bad.size());
    EXPECT_EQ(r.out.files.size(), 1u);
    EXPECT_EQ(r.out.files.begin()->first, dirNames ? "safe/ok.txt" : "ok.txt");
    EXPECT_EQ(r.rep.begun, std::vector<std::string>{"safe/./ok.txt"});
  }
  std::string why;
  EXPECT_EQ(SafePath("a\\b\\c.txt", &why), "a/b/c.txt");
  EXPECT_EQ(SafePath("a//b/", &why), "a/b/");
  EXPECT_EQ(SafePath("./", &why), "");
  EXPECT_EQ(SafePath("con.d/x", &why), "");
  EXPECT_EQ(SafePath("console.txt", &why), "console.txt");
}

TEST(UnpackCore, DoubleByteNamesKeepTheirBackslashSecondBytes) {
  kw::UseCodePage(932);  // Shift JIS: "表" is 0x95 0x5C
  std::string why;
  EXPECT_EQ(SafePath("docs\\\x95\x5C.txt", &why), "docs/\x95\x5C.txt");
  EXPECT_EQ(SafePath("\x95\x5C\\", &why), "\x95\x5C/") << "a folder of that name";
  EXPECT_EQ(SafePath("\x95\x5C", &why), "\x95\x5C") << "a file, not a folder";
  EXPECT_EQ(SafePath("..\\\x95\x5C", &why), "");
  kw::UseCodePage(1252);
}

TEST(UnpackCore, NamesAreMadeSafeAfterConversion) {
  // A conversion may map a wide character onto '\\' or '.': the safety
  // test must see the converted name.
  Item utf8{"a\xEF\xBC\xBC..\xEF\xBC\xBC" "evil", "x"}, dos{"\x9A.txt", "y"};
  utf8.flags = 0x800;
  Options o;
  o.convertName = [](const std::string& s, bool isUtf8) {
    return isUtf8 ? std::string("..\\evil") : "U" + s.substr(1);
  };
  Trial r;
  r.Go(ziptest::Build({utf8, dos}), o);
  EXPECT_EQ(r.result, kUzSkipped);
  ASSERT_EQ(r.rep.messages.size(), 1u);
  EXPECT_EQ(r.rep.begun, std::vector<std::string>{"U.txt"});
  EXPECT_EQ(r.out.files["U.txt"].data, "y");
}

TEST(UnpackCore, RefusedEntriesAndArchives) {
  const std::string d = "data";
  Item zip64{"z64", d, false};
  zip64.csize = zip64.usize = 0xFFFFFFFF;
  Item enc{"enc", d, false, false, 1};
  Item bzip{"bz", d, false, false, 0, 12};
  Trial r;
  r.Go(ziptest::Build({zip64, enc, bzip, {"ok", d}}));
  EXPECT_EQ(r.result, kUzSkipped);
  ASSERT_EQ(r.rep.messages.size(), 3u);
  EXPECT_NE(r.rep.messages[0].second.find("ZIP64"), std::string::npos);
  EXPECT_NE(r.rep.messages[1].second.find("encrypted"), std::string::npos);
  EXPECT_NE(r.rep.messages[2].second.find("method 12"), std::string::npos);
  EXPECT_EQ(r.out.files.size(), 1u);

  Trial locator;
  locator.Go(ziptest::Build({{"ok", d}}, true));
  EXPECT_EQ(locator.result, kUzArchive);
  EXPECT_TRUE(locator.out.files.empty());
}

TEST(UnpackCore, EntriesSharingDataAreRefused) {
  // Many directory entries over one block of data: a small archive that
  // would write far more than it holds.
  Item first{"a", Text(100000)}, again{"b", Text(100000)}, inside{"c", "c", false};
  again.offset = 0;
  inside.offset = 40;  // points into a's data
  Trial r;
  r.Go(ziptest::Build({first, again, inside}));
  EXPECT_EQ(r.result, kUzDamaged);
  EXPECT_EQ(r.out.files.size(), 0u);
  ASSERT_EQ(r.rep.messages.size(), 3u);
  EXPECT_NE(r.rep.messages[1].second.find("shares its data"), std::string::npos);
}

TEST(UnpackCore, EntryNamedLikeATemporaryFile) {
  Trial r;
  r.Go(ziptest::Build({{"~unp1.tmp", "one"}, {"~unp2.tmp", "two"}}));
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.out.files["~unp1.tmp"].data, "one");
  EXPECT_EQ(r.out.files["~unp2.tmp"].data, "two");
}

TEST(UnpackCore, PrefixedArchive) {
  // A stub before the archive (self-extractor, joined parts) shifts every offset.
  Trial r;
  r.Go(Noise(777) + ziptest::Build({{"a", "alpha"}, {"b", Text(9000)}}));
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.out.files["a"].data, "alpha");
}

TEST(UnpackCore, ExistingFiles) {
  const std::string zip = ziptest::Build({{"old", "new old"}, {"same", "new same"}, {"missing", "new missing"}});
  auto prepared = [] {
    Trial r;
    r.out.files["old"] = {"was old", 0x50210000};    // older than the archive's copies
    r.out.files["same"] = {"was same", 0x5A210000};  // as old as them
    return r;
  };
  struct Case {
    bool overwrite, freshen, update;
    const char *old, *same, *missing;
  } cases[] = {
      {false, false, false, "was old", "was same", "new missing"},
      {true, false, false, "new old", "new same", "new missing"},
      {false, true, false, "new old", "was same", nullptr},
      {false, false, true, "new old", "was same", "new missing"},
      {false, true, true, "new old", "was same", "new missing"},
  };
  for (const Case& c : cases) {
    Trial r = prepared();
    Options o;
    o.overwrite = c.overwrite;
    o.freshen = c.freshen;
    o.update = c.update;
    r.Go(zip, o);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.out.files["old"].data, c.old);
    EXPECT_EQ(r.out.files["same"].data, c.same);
    if (c.missing)
      EXPECT_EQ(r.out.files["missing"].data, c.missing);
    else
      EXPECT_EQ(r.out.files.count("missing"), 0u);
    EXPECT_TRUE(r.NoTemps());
  }
  // A folder where a file should go is a problem, not a crash.
  Trial folder;
  folder.out.folders.insert("old");
  folder.Go(zip);
  EXPECT_EQ(folder.result, kUzWrite);
}

TEST(UnpackCore, EntriesLandingOnOneFile) {
  const std::string zip = ziptest::Build({{"readme.txt", "one"}, {"docs/readme.txt", "two"}, {"A.TXT", "a"}, {"a.txt", "b"}});
  for (const bool overwrite : {false, true}) {
    Trial r;
    Options o;
    o.overwrite = overwrite;
    r.Go(zip, o);
    EXPECT_EQ(r.result, kUzSkipped) << overwrite;
    ASSERT_EQ(r.rep.messages.size(), 2u);
    EXPECT_EQ(r.rep.messages[0].second, "error: docs/readme.txt and readme.txt both land on readme.txt\r\n");
    EXPECT_EQ(r.rep.messages[1].second, "error: a.txt and A.TXT both land on a.txt\r\n");
    EXPECT_EQ(r.out.files.size(), 2u);
    EXPECT_EQ(r.out.files["readme.txt"].data, "one") << "the first one stays";
    EXPECT_EQ(r.out.files["A.TXT"].data, "a");
    EXPECT_EQ(r.rep.begun, (std::vector<std::string>{"readme.txt", "A.TXT"}));
  }
  // With stored folders only the same path clashes.
  Trial tree;
  tree.Go(ziptest::Build({{"readme.txt", "one"}, {"docs/readme.txt", "two"}, {"Docs/README.txt", "three"}}), DirNames());
  EXPECT_EQ(tree.result, kUzSkipped);
  EXPECT_EQ(tree.out.files["docs/readme.txt"].data, "two");
  ASSERT_EQ(tree.rep.messages.size(), 1u);
  EXPECT_NE(tree.rep.messages[0].second.find("Docs/README.txt and docs/readme.txt"), std::string::npos);
  // A file there before the call is passed over as ever; a second entry on it still clashes.
  Trial before;
  before.out.files["readme.txt"] = {"mine", 0x5A210000};
  before.Go(ziptest::Build({{"readme.txt", "one"}}));
  EXPECT_EQ(before.result, 0);
  EXPECT_EQ(before.out.files["readme.txt"].data, "mine");
  before.Go(ziptest::Build({{"readme.txt", "one"}, {"x/README.TXT", "two"}}));
  EXPECT_EQ(before.result, kUzSkipped);
  EXPECT_EQ(before.out.files["readme.txt"].data, "mine");
}

TEST(UnpackCore, ExceptionLeavesNoTemporaryFile) {
  // Out of memory (or any failure thrown) in the middle of an entry.
  struct Failing : MemOutput {
    std::unique_ptr<OutFile> CreateNew(const std::string& path) override {
      struct Throws : OutFile {
        std::unique_ptr<OutFile> real;
        bool Write(const void*, size_t) override { throw std::bad_alloc(); }
        bool Close(uint32_t) override { return true; }
      };
      auto real = MemOutput::CreateNew(path);
      if (!real) return nullptr;
      auto w = std::make_unique<Throws>();
      w->real = std::move(real);
      return w;
    }
  } out;
  LogReporter rep;
  MemInput in(ziptest::Build({{"a.txt", Text(5000)}}));
  EXPECT_THROW(Extract(in, out, rep, {}), std::bad_alloc);
  EXPECT_TRUE(out.files.empty());
}

TEST(UnpackCore, SpecsSelectAndReportMisses) {
  const std::string zip = ziptest::Build({{"Docs/Read.TXT", "r"}, {"a.bin", "a"}, {"b.txt", "b"}});
  Trial r;
  Options o;
  o.specs = {"*.txt", "nothing*"};
  r.Go(zip, o);
  EXPECT_EQ(r.result, kUzNoMatch);
  EXPECT_EQ(r.rep.begun, (std::vector<std::string>{"Docs/Read.TXT", "b.txt"}));
  ASSERT_EQ(r.rep.messages.size(), 1u);
  EXPECT_NE(r.rep.messages[0].second.find("nothing*"), std::string::npos);

  EXPECT_TRUE(MatchSpec("docs\\*.txt", "Docs/Read.TXT"));
  EXPECT_TRUE(MatchSpec("?.bin", "a.bin"));
  EXPECT_FALSE(MatchSpec("?.bin", "ab.bin"));
  EXPECT_TRUE(MatchSpec("*a*a*a*b", std::string(5000, 'a') + "b"));
  EXPECT_FALSE(MatchSpec("*a*a*a*b", std::string(5000, 'a')));
}

TEST(UnpackCore, CancelAndDiskFull) {
  const std::string zip = ziptest::Build({{"a", Text(1000)}, {"b", "b"}, {"c", "c"}});
  Trial cancel;
  cancel.rep.stopAfter = 2;
  cancel.Go(zip);
  EXPECT_EQ(cancel.result, kUzCancelled);
  EXPECT_EQ(cancel.rep.begun.size(), 2u);
  EXPECT_EQ(cancel.out.files.size(), 1u);  // "b" was announced, not written
  EXPECT_TRUE(cancel.NoTemps());

  Trial full;
  full.out.writeLimit = 500;
  full.Go(zip);
  EXPECT_EQ(full.result, kUzWrite);
  EXPECT_EQ(full.out.files.count("a"), 0u);
  EXPECT_TRUE(full.NoTemps());
}

}  // namespace
