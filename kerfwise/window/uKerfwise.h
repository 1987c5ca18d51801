// TfKerfwise: the splitter's main window. It holds the file list, the
// destination, size and options, runs the slicing engine, and carries the
// start-up sequence (settings, command-line file) and the close sequence.
#pragma once
#include <string>
#include <vector>

#include "kerfwise/engine/SliceHost.h"
#include "kerfwise/engine/SliceRun.h"
#include "kerfwise/settings/RegistrySettings.h"
#include "kerfwise/settings/SettingsModel.h"
#include "kerfwise/window/AboutBox.h"
#include "kerfwise/window/DropPanel.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/Hints.h"
#include "toolkit/Menu.h"

namespace kerfwise {

// The sorted list of full paths; several entries can be selected.
class FileList : public kw::ListBox {
 public:
  void Create(HWND parent, int id, int x, int y, int w, int h);
  std::vector<int> Selection() const;
};

class TfKerfwise : public kw::Form,
                   public SliceHost,
                   public SettingsTarget,
                   public FileDropHandler {
 public:
  // Out of line: one copy of the destructor and its base thunks, which the
  // 32-bit link-time optimiser would otherwise see twice.
  ~TfKerfwise() override;
  void Create(TAboutBox& about);

 protected:
  void Command(int id, int code) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateControls();
  void CreateMenu();
  void AddHints();

  // Handlers.
  void FormActivate();
  void FormClose();
  void Button1Click();  // Add; Add1Click
  void Button2Click();  // Remove; Delete1Click
  void Button3Click();  // Remove All; Clear1Click
  void Button4Click();  // Stop
  void Button5Click();  // Slice; Slicethem1Click
  void Button6Click();  // Exit; Exit1Click
  void Help2Click();
  void About1Click();
  void cbRightClickClick();
  // Once a run: settings that Windows would not store.
  void SayIfSettingsRefused();
  void eSlicePathChange();
  void FileDrop(TDropPanel& sender, const std::vector<std::string>& files, int x, int y) override;  // dp1FileDrop

  RunOutcome StartRun();
  RunInputs Inputs();
  // Closing: saves the settings and ends the program; during a run it stops
  // the run first and closes when the run is over.
  void CloseWindow();
  void CloseNow();
  void SetRunning(bool on);

  // SliceHost.
  void RunStarted() override;
  void RunEnded() override;
  void SetProgress(int percent) override;
  bool ProcessMessages() override;
  bool DiskPrompt(const std::string& text) override;
  void ShowError(const std::string& text) override;
  void ShowNote(const std::string& text) override;
  void CloseMainWindow() override;

  // SettingsTarget.
  void SetHelpFolder(const std::string& folder) override { helpFolder_ = folder; }
  void ClearRightClick() override;
  void ChangeFolder(const std::string& folder) override;
  void FolderRefused(const std::string& message) override;
  std::string WorkingFolder() override;
  void SelectDestination(int option) override;
  int SelectedDestination() override;
  void SetDriveText(const std::string& text) override { ComboBox1.SetText(text); }
  std::string DriveText() override { return ComboBox1.Text(); }
  void SetSlicePath(const std::string& text) override { eSlicePath.SetText(text); }
  std::string SlicePath() override { return eSlicePath.Text(); }
  void SetDeleteSource(bool on) override { delfile.SetChecked(on); }
  bool DeleteSource() override { return delfile.Checked(); }
  void SetDeleteAfterJoin(bool on) override { delcat.SetChecked(on); }
  bool DeleteAfterJoin() override { return delcat.Checked(); }
  void SetSizeText(const std::string& text) override { slicesize.SetText(text); }
  std::string SizeText() override { return slicesize.Text(); }

  kw::Label Label1;
  TDropPanel dp1;
  FileList filenames;
  kw::Button Button1, Button2, Button3;
  kw::GroupBox RadioGroup1;
  kw::RadioButton RadioButton1, RadioButton2, RadioButton3;
  kw::ComboBox ComboBox1;
  kw::FolderEdit eSlicePath;
  kw::CheckBox delfile, delcat, cbRightClick;
  kw::Label Label3, Label2, Label4;
  kw::ComboBox slicesize;
  kw::ProgressBar bar;
  kw::Button Button5, Button6, Button4;
  kw::MainMenu menu_;
  kw::Hints tips_;

  TAboutBox* about_ = nullptr;
  RegistrySettings store_;
  SettingsSession settings_;
  std::string windowsFolder_, helpFolder_;
  int stopTag_ = 0;  // Button4's tag: 1 once Stop is pressed
  bool running_ = false;
  bool activated_ = false;
  bool closeAfterRun_ = false;
  bool closed_ = false;
  std::vector<HWND> disabled_;  // controls the run disabled
};

}  // namespace kerfwise
