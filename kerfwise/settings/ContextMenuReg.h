// Registration of kerfwise.dll as the shell's context-menu handler for every
// file type, under HKEY_CLASSES_ROOT. Removal failures are silent.
#pragma once

namespace kerfwise {

extern const char kHandlerClsid[];  // "{3F322CCC-FDCA-11CF-A73C-444553540000}"

enum class Registration {
  Done,
  Refused,  // a write under HKEY_CLASSES_ROOT was refused (no administrator
            // rights); what was written is taken away again
  Wow64,    // 32-bit program on 64-bit Windows: its Explorer cannot load a
            // 32-bit handler, so nothing is written
};

// CLSID\{...}\InProcServer32: (default) "kerfwise.dll", ThreadingModel
// "Apartment"; *\shellex\ContextMenuHandlers\{...}: (default) "**".
Registration RegisterHandler();
// Deletes CLSID\{...} and *\shellex\ContextMenuHandlers\{...} with all below them.
void RemoveHandler();

}  // namespace kerfwise
