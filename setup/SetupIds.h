// Control IDs of the installer's windows: fixed, so that tests find each
// control. Timer IDs are per window.
#pragma once

namespace setup::ids {

// TfBack
constexpr int kBackLabel1 = 100;
constexpr unsigned kTimerInstall = 1;

// TfSetup: frame
constexpr int kImagesPanel = 200;  // pImages
constexpr int kImage1 = 201;
constexpr int kCopyRight = 202;    // mCopyRight
constexpr int kButtonsPanel = 210; // pButtons
constexpr int kBack = 211;         // bBack
constexpr int kNext = 212;         // bNext
constexpr int kCancel = 213;       // bCancel
constexpr unsigned kTimerExit = 2; // tExit
// TfSetup: introduction page
constexpr int kIntroPage = 220;    // pIntro
constexpr int kIntro = 221;        // mIntro
constexpr int kWarning = 222;      // mWarning
// TfSetup: the other pages
constexpr int kLicensePage = 230;  // pLicense
constexpr int kLicenseTitle = 231;
constexpr int kLicense = 232;      // lbLicense
constexpr int kLicenseQuestion = 233;
constexpr int kReadmePage = 240;   // pReadme
constexpr int kReadmeTitle = 241;
constexpr int kReadme = 242;       // lbReadme
constexpr int kPathsPage = 250;    // pPaths
constexpr int kInstallLabel = 251; // lInstall
constexpr int kDestination = 252;  // eDestination (its browse button: 253)
constexpr int kDestinationBrowse = 253;
constexpr int kPathsLine = 254;
constexpr int kStartMenuLabel = 255;
constexpr int kStartMenu = 256;    // eStartMenu
constexpr int kExistingLabel = 257;
constexpr int kStartMenuList = 258; // lbStartMenu
constexpr int kFinishPage = 270;   // pFinish
constexpr int kFinishLabel1 = 271;
constexpr int kProgramName = 272;  // lProgramName
constexpr int kFinishLabel2 = 273;
constexpr int kProgFiles = 274;    // lProgFiles
constexpr int kFinishLabel3 = 275;
constexpr int kStartMenuName = 276; // lStartMenu
constexpr int kFinishLine = 277;
constexpr int kFinishNote = 278;

// TfCopy
constexpr int kCopyLabel1 = 300;
constexpr int kCopyFileName = 301; // lFileName
constexpr int kCopyGauge = 302;    // Guage

}  // namespace setup::ids
