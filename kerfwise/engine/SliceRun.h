// A slicing run: every source of the list cut into numbered slices, each with
// its slice list, join batch file and joiner copy. The window fills RunInputs
// from its controls once, when the run starts, and calls RunSlicing from the
// Slice button, the "Slice them" menu entry or the start-up sequence:
//
//   kerfwise::RunInputs in;            // from filenames, slicesize, RadioButton1..3, ...
//   kerfwise::RunOutcome r = kerfwise::RunSlicing(in, *this, kerfwise::SystemPlatform());
//   // start-up sequence: close the window unless r == RunOutcome::Stopped
#pragma once
#include <string>
#include <vector>

#include "kerfwise/engine/Platform.h"
#include "kerfwise/engine/SliceHost.h"
#include "kerfwise/engine/SliceRules.h"

namespace kerfwise {

struct RunInputs {
  std::vector<std::string> sources;    // filenames, full paths in list order
  std::string sizeText = "1.44";       // slicesize: "1.44" (MB) or "@1000000" (bytes)
  Destination destination = Destination::CurrentDirectory;  // RadioButton1/2/3
  std::string driveText = "A:";        // ComboBox1
  std::string slicePath = "C:\\";      // eSlicePath
  bool deleteSource = false;           // delfile
  bool deleteSlicesAfterJoin = false;  // delcat
  bool checkValues = true;             // off only to measure what they cost
};

enum class RunOutcome {
  Done,       // every source sliced (also an empty list)
  Stopped,    // Stop pressed; the stopped source keeps its partial slices
  Failed,     // an error box was shown
  Cancelled,  // Cancel at a disk prompt; CloseMainWindow was called
};

RunOutcome RunSlicing(const RunInputs& in, SliceHost& host, Platform& fs);

}  // namespace kerfwise
