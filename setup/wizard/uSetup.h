// TfSetup: the wizard window. Its creation step prepares the installation
// (uPrepare.cpp), its destruction step removes the temporary folder, and its
// pages lead the user to Finish (uSetupPages.cpp).
#pragma once
#include <string>

#include "setup/components/Execfile.h"
#include "setup/components/SheLink.h"
#include "setup/components/ZipExtr.h"
#include "setup/engine/SetupState.h"
#include "setup/engine/Switches.h"
#include "toolkit/ExitCodes.h"
#include "setup/wizard/FaceControls.h"
#include "setup/wizard/PartCheck.h"
#include "setup/wizard/TextListBox.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/Timer.h"

namespace setup {

class TfCopy;

class TfSetup : public kw::Form {
 public:
  ~TfSetup() override;
  // Creates the window and its controls, then runs the creation step. The
  // wizard closes background (the program's main window) to end the program,
  // shows the program's name in backTitle, and hands copy (the engine's
  // progress window, made after the wizard) to the engine at Finish.
  void Create(kw::Form& background, kw::Label& backTitle, TfCopy& copy);
  // After a good preparation: /D and /G in place of the list's folders.
  void UseSwitches(const SetupSwitches& given);
  // /S: the installation straight after the preparation, no window shown.
  void RunSilent();

  int Result = kw::exitcode::kCancelled;  // the exit code until something else is known

  SetupState State;  // the installer state, lbSetup included
  kw::Timer tExit;   // enabled: the program is to end
  TZipExtractor ZipExtractor1;
  TExecFile ExecFile1;    // the install engine's launcher: Wait, not Associate
  TShellLink Shelllink1;  // the install engine's shortcuts

  // Frame: side panel and button bar.
  kw::Panel pImages;
  kw::Image Image1;
  kw::Memo mCopyRight;
  kw::Panel pButtons;
  kw::GlyphButton bBack, bNext, bCancel;
  // Introduction page.
  kw::Panel pIntro;
  kw::Memo mIntro;
  kw::Memo mWarning;
  // Licence page.
  kw::Panel pLicense;
  kw::Label Label1, Label2;  // "License Agreement", the question
  FaceColored<kw::Memo> lbLicense;
  // Readme page.
  kw::Panel pReadme;
  kw::Label Label3;  // "Program Readme File"
  FaceColored<kw::Memo> lbReadme;
  // Folders page.
  kw::Panel pPaths;
  kw::Label lInstall;
  FaceColored<kw::FolderEdit> eDestination;
  kw::Separator Bevel1;
  kw::Label Label4, Label5;
  FaceColored<kw::Edit> eStartMenu;
  TTextListBox lbStartMenu;
  // Summary page.
  kw::Panel pFinish;
  kw::Label Label6, Label7, Label8, Label9;
  kw::Label lProgramName, lProgFiles, lStartMenu;
  kw::Separator Bevel2;

  void bNextClick();
  void bBackClick();
  void bCancelClick();
  void lbStartMenuClick();
  void tExitTimer();
  void ZipExtractor1Progress(TZipExtractor* Sender, ProgressType ProgrType,
                             const std::string& Filename, int32_t FileSize);

 protected:
  void Command(int id, int code) override;
  void Timer(UINT id) override;
  void FormShow() override;

 private:
  // Page area right of the side panel, above the button bar.
  static constexpr int kPageLeft = 137, kPageWidth = 279, kPageHeight = 243;

  void CreateFrame();
  void CreatePages();
  void FillPaths();
  bool DestinationAccepted(std::string& dest);
  bool OtherProgramRunning() const;
  // Creation step and its parts (uPrepare.cpp).
  void FormCreate();
  void Prepare();
  void PreparePackage();
  // The setup disks (uPrepare.cpp): what comes from them and the room it takes.
  void FetchPart(size_t n, const std::string& name, const PartRecord* record);
  bool FetchExtra(const std::string& item);
  void RequireRoom(const std::vector<uint64_t>& sizes);
  std::string PackageTitle() const;
  void ExtractPackage(const std::string& archive);
  void LoadInstallList();
  // Destruction step.
  void FormDestroy();

  kw::Form* background_ = nullptr;
  kw::Label* backTitle_ = nullptr;
  TfCopy* copy_ = nullptr;
  bool comInitialised_ = false;
  TfCopy* progress_ = nullptr;  // the extraction's progress window while it runs
};

}  // namespace setup
