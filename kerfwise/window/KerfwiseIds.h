// Control and menu IDs of the splitter's windows; the UI tests find them by these.
#pragma once

namespace kerfwise::ids {

enum : int {
  Label1 = 100,
  dp1,
  filenames,
  Button1,  // Add
  Button2,  // Remove
  Button3,  // Remove All
  RadioGroup1,
  RadioButton1,  // Current Directory
  RadioButton2,  // Floppy Disk
  ComboBox1,
  RadioButton3,  // Sliced Path
  eSlicePath,
  eSlicePathBrowse,  // the folder box's button: eSlicePath + 1
  delfile,
  delcat,
  cbRightClick,
  Label3,
  slicesize,
  Label2,
  Label4,
  bar,
  Button5,  // Slice
  Button6,  // Exit
  Button4,  // Stop
};

// Main menu.
enum : int {
  Slicethem1 = 200,
  Exit1,
  Add1,
  Delete1,
  Clear1,
  Help2,
  About1,
};

// The About box.
enum : int {
  AboutIcon = 300,
  AboutName,
  AboutVersion,
  AboutOK = 1,  // IDOK: Enter presses it
};

}  // namespace kerfwise::ids
