// RunInstall under Wine where something goes wrong: files that cannot be
// installed, an error that ends the engine half-way, a restart the system
// refuses, a post-installation program below a folder with a blank.
#include "setup/engine/Install.h"
#include "toolkit/Error.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "InstallFixture.h"
#include "setup/engine/Folders.h"

using namespace setup;
using namespace setup::test;

namespace {

std::string Box(const std::string& caption, const std::string& text, unsigned flags) {
  return caption + ": " + text + " (" + std::to_string(flags) + ")";
}

const unsigned kWarning = MB_OK | MB_ICONWARNING;
const std::string kIncomplete =
    "The installation is incomplete. These files could not be installed:\n";

// Every entry that was neither copied nor queued is named in one warning before
// the restart question; a folder in the way is no file in use, a read-only
// file is replaced, a starred entry's file kept; a refused restart is reported.
TEST_F(InstallTest, FailuresReportedBeforeTheRestartQuestion) {
  std::string dest = root + "\\app";
  state.DestDir = dest;
  for (const char* f : {"present.txt", "folder.txt", "readonly.txt", "kept.txt"}) Package(f, "new");
  ForceFolders(dest + "\\folder.txt");
  WriteText(dest + "\\readonly.txt", "old", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  WriteText(dest + "\\kept.txt", "user's", FILE_ATTRIBUTE_READONLY);
  List({"h", "h", "h", ":INSTALL", "present.txt", "missing.txt", "folder.txt", "sub\\deep.txt",
        "readonly.txt", "*kept.txt", "*absent.txt", ":", ":REBOOT"});
  host.answers = {IDOK, IDOK};
  host.refuseRestart = true;
  Run();

  EXPECT_EQ(host.Messages(),
            (std::vector<std::string>{
                Box("Setup",
                    kIncomplete + "\n" + dest + "\\missing.txt\n" + dest + "\\folder.txt\n" + dest +
                        "\\sub\\deep.txt\n" + dest + "\\absent.txt",
                    kWarning),
                Box("Information", "Installation must reboot your computer.",
                    MB_OKCANCEL | MB_ICONINFORMATION),
                Box("Setup",
                    "Windows could not be restarted. Please restart Windows to finish the "
                    "installation.",
                    kWarning)}));
  EXPECT_EQ(host.log.back(), "message " + host.Messages().back()) << "no completion message";
  EXPECT_FALSE(RebootNeeded) << "nothing was in use";
  EXPECT_FALSE(Exists(dest + "\\folder.MQF"));
  EXPECT_EQ(ReadText(dest + "\\readonly.txt"), "new");
  EXPECT_EQ(Attrs(dest + "\\readonly.txt"), DWORD(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(ReadText(dest + "\\kept.txt"), "user's");
  EXPECT_EQ(ReadText(dest + "\\present.txt"), "new");
}

// An installation without failures ends as it always did.
TEST_F(InstallTest, NoWarningWithoutFailures) {
  state.DestDir = root + "\\app";
  Package("a.txt", "a");
  List({"h", "h", "h", ":INSTALL", "a.txt", ":"});
  Run();
  EXPECT_EQ(host.Messages(), (std::vector<std::string>{Box("Confirm", "Installation is complete",
                                                            MB_OK | MB_ICONQUESTION)}));
}

// An installation with an uninstall entry, a file and a shortcut, then `rest`.
class UninstalledAppTest : public InstallTest {
 protected:
  void UninstalledApp(const std::string& dest, const std::vector<std::string>& rest) {
    SharedKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KwEngineFaults");
    SharedKey(HKEY_CURRENT_USER, "Software\\KwEngineFaults");
    state.DestDir = dest;
    Package("a.txt", "a");
    std::vector<std::string> lines{"h", "h", "h", ":UNINSTALL", "KwEngineFaults", "Faults", "u.exe", "r", ":",
                                   ":INSTALL", "a.txt", ":", ":SHORTCUTS", "A", "a.txt"};
    lines.insert(lines.end(), rest.begin(), rest.end());
    List(lines);
  }
};

// An error after the uninstall entry was written still leaves the list of what
// was installed, closed as a whole list is, so the uninstaller can remove it.
TEST_F(UninstalledAppTest, ErrorInRegistrySectionSavesTheList) {
  std::string dest = root + "\\app", sm = root + "\\Programs\\KwApp Menu";
  UninstalledApp(dest, {":", ":reg", "HKEY_CURRENT_USER", "Software\\KwEngineFaults", "One", "#1#",
                        "HKEY_CURRENT_USER", "Software\\KwEngineFaults", "Two", "#2x#", ":"});
  try {
    Run();
    FAIL() << "no error";
  } catch (const kw::Error& e) {
    EXPECT_STREQ(e.what(), "'2x' is not a valid integer value");
  }
  EXPECT_EQ(ReadText(dest + "\\unin.ini"),
            "KwApp\r\n" + dest + "\r\n" + dest + "\\a.txt\r\n" + sm + "\\A\r\n+" + sm +
                "\r\n\r\n:reg\r\nHKEY_CURRENT_USER\r\nSoftware\\KwEngineFaults\r\nOne\r\n#1#\r\n:\r\n");
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(UninstalledAppTest, SectionWithoutTerminatorSavesTheList) {
  std::string dest = root + "\\app", sm = root + "\\Programs\\KwApp Menu";
  UninstalledApp(dest, {});
  EXPECT_THROW(Run(), ListIndexError);
  // The Start Menu folder was made before the first shortcut: it is named too.
  EXPECT_EQ(ReadText(dest + "\\unin.ini"),
            "KwApp\r\n" + dest + "\r\n" + dest + "\\a.txt\r\n" + sm + "\\A\r\n+" + sm + "\r\n\r\n");
  EXPECT_FALSE(Exists(dest + "\\unin.ini.new"));
}

// A read-only file whose attribute will not clear (as on a read-only share;
// here a kernel file Wine shows on drive Z:) is tried once more, then named
// among the files not installed: no endless retry.
TEST_F(InstallTest, ReadOnlyTargetThatStaysReadOnlyFails) {
  std::string dest = "Z:\\proc\\sys\\kernel\\random";
  ASSERT_NE(Attrs(dest + "\\boot_id") & FILE_ATTRIBUTE_READONLY, 0u) << "no read-only kernel file on Z:";
  ASSERT_FALSE(SetFileAttributesA((dest + "\\boot_id").c_str(), FILE_ATTRIBUTE_ARCHIVE));
  state.DestDir = dest;
  Package("boot_id", "new");
  List({"h", "h", "h", ":INSTALL", "boot_id", ":"});
  Run();
  EXPECT_EQ(host.Messages(),
            (std::vector<std::string>{
                Box("Setup", kIncomplete + "\n" + dest + "\\boot_id", kWarning),
                Box("Confirm", "Installation is complete", MB_OK | MB_ICONQUESTION)}));
  EXPECT_FALSE(RebootNeeded);
}

// "C:\Program Files\..." unquoted would start C:\Program.exe, which here exists.
TEST_F(InstallTest, PostInstallationProgramByQuotedPath) {
  std::string dest = root + "\\Program Files\\KwApp";
  state.DestDir = dest;
  state.PackageDir = root + "\\Setup Disk";
  ForceFolders(state.PackageDir);
  CopyFileA(ProbeExe().c_str(), (state.PackageDir + "\\_setup.ex_").c_str(), FALSE);
  CopyFileA(ProbeExe().c_str(), (root + "\\Program.exe").c_str(), FALSE);
  List({"h", "h", "h", ":INSTALL", "_setup.ex_", ":"});
  Run();
  std::string report = ReadText(dest + "\\_setup.exe.txt");
  EXPECT_EQ(report.substr(0, report.find("\r\n")), "cmd=\"" + dest + "\\_setup.exe\" \"" + state.PackageDir + "\"");
  EXPECT_FALSE(Exists(root + "\\Program.exe.txt")) << "the wrong program ran";
  EXPECT_FALSE(Exists(dest + "\\_setup.exe"));
}

}  // namespace
