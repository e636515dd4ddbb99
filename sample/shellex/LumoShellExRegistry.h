// Writing and removing the registry entries of the context-menu handler.
#ifndef LUMO_LUMOSHELLEXREGISTRY_H
#define LUMO_LUMOSHELLEXREGISTRY_H

#include <windows.h>

namespace KwSDK {

// The name of the handler's key below each program identifier's
// shellex\ContextMenuHandlers.
extern const wchar_t kLumoHandlerName[];

// Writes, below HKEY_CLASSES_ROOT: CLSID\{class} with its name, and
// InprocServer32 with the DLL's path and ThreadingModel "Apartment"; then
// for every program identifier Lumo.<EXT> of the associated types
// shellex\ContextMenuHandlers\LumoShellEx = {class}; and the class in the
// shell's list of approved extensions (where that cannot be written, as
// for a user without rights there, the shell of older systems still loads
// it). S_OK, or SELFREG_E_CLASS when a key of the class cannot be written.
HRESULT RegisterLumoShellEx();

// Removes what RegisterLumoShellEx wrote. Below each program identifier only
// the handler's key goes, and then the keys that this left empty
// (ContextMenuHandlers, shellex, and the identifier itself when nothing else
// is in it), so that file associations written by Setup stay. Entries that
// are already gone are no failure. S_OK, or SELFREG_E_CLASS when an existing
// key of the class could not be removed.
HRESULT UnregisterLumoShellEx();

} // namespace KwSDK

#endif
