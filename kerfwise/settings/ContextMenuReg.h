// Registration of kerfwise.dll as the shell's context-menu handler for every
// file type, under HKEY_CLASSES_ROOT. Failures are silent.
#pragma once

namespace kerfwise {

extern const char kHandlerClsid[];  // "{3F322CCC-FDCA-11CF-A73C-444553540000}"

// CLSID\{...}\InProcServer32: (default) "kerfwise.dll", ThreadingModel
// "Apartment"; *\shellex\ContextMenuHandlers\{...}: (default) "**".
void RegisterHandler();
// Deletes CLSID\{...} and *\shellex\ContextMenuHandlers\{...} with all below them.
void RemoveHandler();

}  // namespace kerfwise
