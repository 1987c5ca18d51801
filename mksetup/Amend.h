// What mksetup adds to a project on the author's behalf. Each addition goes
// only into the package; the project's own files stay as they are, and the
// summary says what was added.
#pragma once
#include <string>
#include <string_view>

namespace mksetup {

// setup.ini with `name` listed under :WIN: right after the section's keyword
// line, or in a new :WIN section at the end of what the installer reads.
std::string WithWinEntry(std::string_view ini, std::string_view name);

// A copyBrin.txt for a project without one: the floppy question reads its
// first line, and the side box shows it instead of the installer's own lines.
std::string DefaultCopyBrin(std::string_view programName);

}  // namespace mksetup
