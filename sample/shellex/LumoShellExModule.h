// What the parts of LumoShellEx.dll share: the module handle, the count of
// live objects and server locks, the class identifier and the image types
// the context menu serves.
#ifndef LUMO_LUMOSHELLEXMODULE_H
#define LUMO_LUMOSHELLEXMODULE_H

#include <windows.h>

namespace KwSDK {

// {48A1EF65-E1F5-4160-9C9F-2CC97D698872}
extern const CLSID CLSID_LumoContextMenu;
extern const wchar_t kLumoContextMenuClsid[];

// The module of the DLL itself, set when the DLL is loaded.
HMODULE LumoModule();
void SetLumoModule(HMODULE module);

// Objects and locks that keep the DLL loaded.
void LumoModuleAddRef();
void LumoModuleRelease();
LONG LumoModuleCount();

// The file extensions that Setup associates with Lumo, with their dot, in
// upper case; the list ends with a null entry. Each has the program
// identifier "Lumo" + extension (Lumo.PNG).
extern const wchar_t* const kLumoExtensions[];

// 1 when the path ends in one of those extensions, ignoring case.
int IsLumoPicture(const wchar_t* path);

// The full path of LumoView.exe, next to the DLL; 0 when it does not fit.
int LumoViewPath(wchar_t* path, DWORD capacity);

} // namespace KwSDK

#endif
