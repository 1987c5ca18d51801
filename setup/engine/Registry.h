// The installer's registry access (Windows only; library setup_registry). Roots are given by name: one of the seven
// "HKEY_..." names, compared exactly; any other name opens nothing.
#pragma once
#include "toolkit/Error.h"
#include <string>

namespace setup {

// Writes one value. Data "#n#" is a 32-bit number (decimal with optional sign,
// or hexadecimal after "$"), anything else a string. A key that cannot be
// opened or created is passed over. Throws kw::Error
// "'%s' is not a valid integer value" and "Failed to set data for '%s'".
void WriteRegValue(const std::string& root, const std::string& key,
                   const std::string& name, const std::string& data);

// Writes data as a string value, whatever it begins with; a key that cannot be
// opened or created is passed over. Throws "Failed to set data for '%s'".
void WriteRegString(const std::string& root, const std::string& key,
                    const std::string& name, const std::string& data);

// The string value (an empty name reads the default value); empty when the key
// or value is missing. Throws "Invalid data type for '%s'" for a value that is
// no string, "Failed to get data for '%s'" when its data cannot be fetched.
std::string ReadRegString(const std::string& root, const std::string& key,
                          const std::string& name);

// Deletes the key with all its subkeys, deepest first; failures are passed over.
void DeleteRegKey(const std::string& root, const std::string& key);

// The user's Start Menu Programs folder from the shell's "Shell Folders" key;
// empty when it is not recorded.
std::string GetProgramsFolder();
// The folder the Start Menu entries go under, for the wizard and the engine
// alike: GetProgramsFolder, or the Windows folder's "Start Menu\Programs" when
// the shell records none.
std::string StartMenuProgramsFolder();

}  // namespace setup
