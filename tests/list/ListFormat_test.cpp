#include "setup/engine/ListFormat.h"
#include "toolkit/Error.h"

#include <gtest/gtest.h>

#include "toolkit/PathText.h"

using setup::LineList;
using setup::ListIndexError;
using Strings = std::vector<std::string>;

TEST(SplitLines, EveryLineEndAndNul) {
  EXPECT_EQ(setup::SplitLines("a\r\nb\rc\nd"), (Strings{"a", "b", "c", "d"}));
  EXPECT_EQ(setup::SplitLines("a\n\r\nb\r\n"), (Strings{"a", "", "b"}));
  EXPECT_EQ(setup::SplitLines("\n"), (Strings{""}));
  EXPECT_EQ(setup::SplitLines(""), Strings{});
  EXPECT_EQ(setup::SplitLines(std::string_view("x\ny\0z\nw", 7)), (Strings{"x", "y"}));
  EXPECT_EQ(setup::SplitLines("  keep blanks  \r\n"), (Strings{"  keep blanks  "}));
}

TEST(LineList, LongLinesAreRefusedByName) {
  LineList l;
  std::string ok(4095, 'x');
  l.LoadText(ok + "\r\nnext");
  EXPECT_EQ(l.Count(), 2u);
  try {
    l.LoadText("one\r\n" + ok + "y\r\n", "setup.ini");
    FAIL() << "a 4096-character line was taken";
  } catch (const kw::Error& e) {
    EXPECT_STREQ(e.what(), "Line 2 of setup.ini is longer than 4095 characters");
  }
  EXPECT_EQ(l.Count(), 2u) << "a refused text leaves the list as it was";
}

TEST(LineList, FindsFirstSectionIgnoringCase) {
  LineList l({"\\Foo", "Foo", "Foo 1.0", ":install", "a", ":", ":INSTALL", "b", ":", ":WIN "});
  EXPECT_EQ(l.Find(":INSTALL"), 3);
  EXPECT_EQ(l.ListSection(":INSTALL"), (Strings{"a"}));
  EXPECT_EQ(l.Find(":WIN"), -1) << "a keyword with a trailing blank is not the keyword";
  EXPECT_TRUE(l.ListSection(":SYSTEM").empty());
}

TEST(LineList, ListSectionsEndAtALoneColonOnly) {
  LineList l({":INSTALL", "", "x.txt", ":WIN", " :", "y", ":", ":tail"});
  EXPECT_EQ(l.ListSection(":INSTALL"), (Strings{"", "x.txt", ":WIN", " :", "y"}));
  LineList open({":INSTALL", "a", ":WIN", "b"});
  EXPECT_THROW(open.ListSection(":INSTALL"), ListIndexError);
  try {
    open.At(4);
  } catch (const ListIndexError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds");
  }
}

TEST(ListFormat, RemovePathMacros) {
  EXPECT_EQ(setup::ExpandRemovePath("<WINDIR>\\old.dll", "C:\\WINDOWS", "C:\\P"),
            "C:\\WINDOWS\\old.dll");
  EXPECT_EQ(setup::ExpandRemovePath("<INSTALL>old.txt", "C:\\WINDOWS", "C:\\Prog\\"),
            "C:\\Prog\\old.txt");
  EXPECT_EQ(setup::ExpandRemovePath("<INSTALL>old.txt", "C:\\WINDOWS", "C:\\Prog"),
            "C:\\Prog\\old.txt");
  EXPECT_EQ(setup::ExpandRemovePath("D:\\x\\<WINDIR>", "C:\\W", "C:\\P"), "D:\\x\\<WINDIR>");
  EXPECT_EQ(setup::ExpandRemovePath("<windir>\\a", "C:\\W", "C:\\P"), "<windir>\\a");
}

TEST(ListFormat, CopyEntries) {
  auto e = setup::ParseCopyEntry("*readme.txt");
  EXPECT_TRUE(e.keep);
  EXPECT_EQ(e.source, "readme.txt");
  EXPECT_EQ(e.target, "readme.txt");
  e = setup::ParseCopyEntry("bin\\PROG.EX_");
  EXPECT_FALSE(e.keep);
  EXPECT_EQ(e.source, "bin\\PROG.EX_");
  EXPECT_EQ(e.target, "bin\\PROG.exe");
  EXPECT_EQ(setup::ParseCopyEntry("a.ex_\\b").target, "a.ex_\\b");
  EXPECT_EQ(setup::ParseCopyEntry("").target, "");
}

TEST(PathText, Basics) {
  EXPECT_EQ(kw::StripBackslash("C:\\"), "C:");
  EXPECT_EQ(kw::StripBackslash(""), "");
  EXPECT_EQ(kw::StripBackslash("C:\\a"), "C:\\a");
  EXPECT_EQ(kw::ExtractFileName("C:\\DATA\\REPORT.DOC"), "REPORT.DOC");
  EXPECT_EQ(kw::ExtractFileName("A:x"), "x");
  EXPECT_EQ(kw::ExtractFilePath("C:\\DATA\\REPORT.DOC"), "C:\\DATA\\");
  EXPECT_EQ(kw::ExtractFileExt("C:\\D.IR\\README"), "");
  EXPECT_EQ(kw::ExtractFileExt("a.tar.gz"), ".gz");
  EXPECT_EQ(kw::ChangeFileExt("C:\\T\\a.1", ".zip"), "C:\\T\\a.zip");
  EXPECT_EQ(kw::ChangeFileExt("C:\\T\\pkg", ".zip"), "C:\\T\\pkg.zip");
  EXPECT_TRUE(kw::SameText(":Install", ":INSTALL"));
  EXPECT_FALSE(kw::SameText(":INSTALL ", ":INSTALL"));
}
