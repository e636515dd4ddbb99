// The "Open with Lumo" item of the shell's context menu for pictures.
#ifndef LUMO_LUMOCONTEXTMENU_H
#define LUMO_LUMOCONTEXTMENU_H

#include <windows.h>
#include <shlobj.h>

namespace KwSDK {

// A COM object with the shell extension's two interfaces. Initialize takes
// the selected files from the shell's data object and keeps those of the
// types that Lumo opens (at most kMaxFiles); when there is none, it fails,
// and the shell then leaves the handler out. QueryContextMenu adds one item,
// "Open with Lumo"; invoking it starts LumoView.exe (next to the DLL) once
// per kept file, with the quoted path as its command line.
class LumoContextMenu final : public IShellExtInit, public IContextMenu {
public:
    static const int kMaxFiles = 16;

    LumoContextMenu();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progId) override;

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT firstCommand, UINT lastCommand,
                                  UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR command, UINT type, UINT* reserved, CHAR* name,
                                  UINT capacity) override;

    int GetFileCount() const;

private:
    ~LumoContextMenu();
    LumoContextMenu(const LumoContextMenu&) = delete;
    LumoContextMenu& operator=(const LumoContextMenu&) = delete;

    void ClearFiles();
    int KeepFile(const wchar_t* path);
    int IsOurVerb(const CMINVOKECOMMANDINFO* info) const;
    HRESULT StartViewer(const wchar_t* file, int show) const;

    LONG m_nRefs;
    int m_nFiles;
    wchar_t* m_files[kMaxFiles];
};

} // namespace KwSDK

#endif
