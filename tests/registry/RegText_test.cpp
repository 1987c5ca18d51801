// The text rules of the :reg section: numbers, data forms, redirection, roots.
#include "setup/engine/RegText.h"

#include <gtest/gtest.h>

using namespace setup;

TEST(RegText, StrToIntAcceptsDecimalAndDollarHex) {
  EXPECT_EQ(StrToInt("1"), 1);
  EXPECT_EQ(StrToInt("-5"), -5);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("  12"), 12);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToInt("$7fffffff"), 2147483647);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1) << "hexadecimal fills all 32 bits";
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt("$000000001"), 1) << "leading zeros do not overflow";
}

TEST(RegText, StrToIntRefusesEverythingElse) {
  for (const char* bad : {"", " ", "-", "+", "$", "-$", "1a", "12 ", "1.5", "0x10", "$G",
                          "2147483648", "-2147483649", "$100000000", "99999999999999999999",
                          "1 2", "--1"})
    EXPECT_FALSE(StrToInt(bad).has_value()) << '"' << bad << '"';
}

TEST(RegText, NumberTextDropsFirstAndLastCharacter) {
  EXPECT_EQ(NumberText("#1#"), "1");
  EXPECT_EQ(NumberText("#$1F#"), "$1F");
  EXPECT_EQ(NumberText("#12"), "1");
  EXPECT_EQ(NumberText("##"), "");
  EXPECT_EQ(NumberText("#"), "");
}

TEST(RegText, DataSubstitutions) {
  const std::string dest = "C:\\Program Files\\App";
  EXPECT_EQ(SubstituteRegData("r", dest, "app.exe"), dest);
  EXPECT_EQ(SubstituteRegData("R", dest, "app.exe"), dest);
  EXPECT_EQ(SubstituteRegData("p", dest, "app.exe"), dest + "\\app.exe %1");
  EXPECT_EQ(SubstituteRegData("P", dest, "app.exe"),
            dest + "\\app.exe %1 %2 %3 %4 %5 %6 %7 %8 %9");
  EXPECT_EQ(SubstituteRegData("pp", dest, "app.exe"), "pp");
  EXPECT_EQ(SubstituteRegData("rr", dest, "app.exe"), "rr");
  EXPECT_EQ(SubstituteRegData("", dest, "app.exe"), "");
  EXPECT_EQ(SubstituteRegData("#1#", dest, "app.exe"), "#1#");
}

TEST(RegText, KeyRedirection) {
  EXPECT_FALSE(ParseKeyRedirect("Software\\X").has_value());
  EXPECT_FALSE(ParseKeyRedirect("").has_value());
  EXPECT_FALSE(ParseKeyRedirect("x>y<z").has_value());

  auto r = ParseKeyRedirect(">.txt<\\shell\\open\\command");
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->lookup, ".txt");
  EXPECT_EQ(RedirectedKey(*r, "txtfile"), "txtfile\\shell\\open\\command");
  EXPECT_EQ(RedirectedKey(*r, ""), ".txt<\\shell\\open\\command");

  auto whole = ParseKeyRedirect(">Software\\Sub");
  ASSERT_TRUE(whole.has_value());
  EXPECT_EQ(whole->lookup, "Software\\Sub");
  EXPECT_EQ(RedirectedKey(*whole, "V"), "VSoftware\\Sub") << "no '<': the rest is everything";
  EXPECT_EQ(RedirectedKey(*whole, ""), "Software\\Sub");

  auto two = ParseKeyRedirect(">a<b<c");
  ASSERT_TRUE(two.has_value());
  EXPECT_EQ(two->lookup, "a");
  EXPECT_EQ(RedirectedKey(*two, "X"), "Xb<c") << "split at the first '<'";
}

TEST(RegText, RootNamesExactAndKeyPaths) {
  EXPECT_EQ(RootKeyIndex("HKEY_CLASSES_ROOT"), 0);
  EXPECT_EQ(RootKeyIndex("HKEY_LOCAL_MACHINE"), 2);
  EXPECT_EQ(RootKeyIndex("HKEY_DYN_DATA"), 6);
  EXPECT_EQ(RootKeyIndex("hkey_local_machine"), -1);
  EXPECT_EQ(RootKeyIndex("HKEY_LOCAL_MACHINE "), -1);
  EXPECT_EQ(RootKeyIndex("HKLM"), -1);
  EXPECT_EQ(RootKeyIndex(""), -1);
  EXPECT_EQ(RelativeKeyPath("\\Software\\X"), "Software\\X");
  EXPECT_EQ(RelativeKeyPath("Software\\X"), "Software\\X");
  EXPECT_EQ(RelativeKeyPath("\\"), "");
}
