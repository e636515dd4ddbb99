// Window-class registration of the components: one counted registration per
// class name, with the class icon and cursor.
#include "ImplKwComponent.h"
#include "ImplKwComponentShared.h"

#include "KwClassRegistry.h"
#include "KwComponent.h"
#include "KwCursor.h"
#include "KwIcon.h"
#include "KwNativeHandles.h"

#include <cstring>

namespace KwSDK {

using ImplShared::TextOf;
using ImplShared::kChildStyle;

// The registry lock is held across the native registration, so that a name
// is in the registry exactly while its native class is registered.
int ImplKwComponent::RegisterClass()
{
    if (!KwClassRegistry::Enter()) {
        return 0;
    }
    int count = KwClassRegistry::GetCount(m_sClassName);
    if (count > 0) {
        int counted = KwClassRegistry::SetCount(m_sClassName, count + 1);
        KwClassRegistry::Leave();
        return counted;
    }
    ATOM atom = RegisterNativeClass();
    if (atom != 0 && !KwClassRegistry::SetCount(m_sClassName, 1)) {
        UnregisterClassA(TextOf(m_sClassName), m_hInstance);
        atom = 0;
    }
    if (atom != 0) {
        HandOverClassHandles();
    } else {
        DestroyOwnClassHandles();
    }
    KwClassRegistry::Leave();
    return atom;
}

// The class just registered shows the handles made for it: they are the
// registration's now (registry lock held).
void ImplKwComponent::HandOverClassHandles()
{
    void* large = KwClassRegistry::ExchangeHandle(m_sClassName, KW_CLASS_LARGE_ICON,
                                                  m_bLargeIconMade ? m_hLargeIcon : nullptr);
    void* small = KwClassRegistry::ExchangeHandle(m_sClassName, KW_CLASS_SMALL_ICON,
                                                  m_bSmallIconMade ? m_hSmallIcon : nullptr);
    void* cursor = KwClassRegistry::ExchangeHandle(m_sClassName, KW_CLASS_CURSOR,
                                                   m_bCursorMade ? m_hCursor : nullptr);
    // A fresh registration holds nothing yet; anything answered is stale.
    DestroyIconHandle(static_cast<HICON>(large), 1);
    DestroyIconHandle(static_cast<HICON>(small), 1);
    DestroyCursorHandle(static_cast<HCURSOR>(cursor), 1);
    m_bLargeIconMade = 0;
    m_bSmallIconMade = 0;
    m_bCursorMade = 0;
}

// Handles made for a registration that did not happen are still ours.
void ImplKwComponent::DestroyOwnClassHandles()
{
    DestroyIconHandle(m_hLargeIcon, m_bLargeIconMade);
    DestroyIconHandle(m_hSmallIcon, m_bSmallIconMade);
    DestroyCursorHandle(m_hCursor, m_bCursorMade);
    m_hLargeIcon = nullptr;
    m_hSmallIcon = nullptr;
    m_hCursor = nullptr;
    m_bLargeIconMade = 0;
    m_bSmallIconMade = 0;
    m_bCursorMade = 0;
}

// Gives a handle just put into the window's class to the registration and
// destroys the made one it replaces. A class this object holds no
// registration for keeps the handle without an owner: it is never destroyed
// while a window might show it.
void ImplKwComponent::GiveHandleToClass(int slot, void* handle, int made, int cursor)
{
    if (!m_bClassRegistered || !KwClassRegistry::Enter()) {
        return;
    }
    void* previous = KwClassRegistry::ExchangeHandle(m_sRegisteredName, slot, made ? handle : nullptr);
    KwClassRegistry::Leave();
    if (previous == handle) {
        return;
    }
    if (cursor) {
        DestroyCursorHandle(static_cast<HCURSOR>(previous), 1);
    } else {
        DestroyIconHandle(static_cast<HICON>(previous), 1);
    }
}

ATOM ImplKwComponent::RegisterNativeClass()
{
    WNDCLASSEXA description;
    std::memset(&description, 0, sizeof description);
    description.cbSize = sizeof description;
    description.style = m_nClassStyle;
    description.lpfnWndProc = WindowProc;
    description.hInstance = m_hInstance;
    description.lpszClassName = TextOf(m_sClassName);
    HICON parentLarge = m_pParent != nullptr ? m_pParent->m_hLargeIcon : nullptr;
    HICON parentSmall = m_pParent != nullptr ? m_pParent->m_hSmallIcon : nullptr;
    description.hIcon = ClassIcon(&m_hLargeIcon, &m_bLargeIconMade, m_pLargeIcon, parentLarge);
    description.hCursor = ClassCursor();
    description.hIconSm = ClassIcon(&m_hSmallIcon, &m_bSmallIconMade, m_pSmallIcon, parentSmall);
    return RegisterClassExA(&description);
}

// A window inside a parent shows the parent's icon when it is a window of
// its own (not a child) and none when it is a child; a window without a
// parent shows its own description's icon.
HICON ImplKwComponent::ClassIcon(HICON* stored, int* made, KwIcon* description, HICON parentIcon)
{
    if (*stored != nullptr) {
        return *stored;
    }
    if (m_pParent == nullptr) {
        *stored = MakeIconHandle(description, m_hInstance, made);
    } else if ((m_dwStyle & kChildStyle) == 0 && parentIcon != nullptr) {
        *stored = CopyIcon(parentIcon);
        *made = *stored != nullptr ? 1 : 0;
    }
    return *stored;
}

HCURSOR ImplKwComponent::ClassCursor()
{
    if (m_hCursor == nullptr) {
        m_hCursor = MakeCursorHandle(m_pCursor, m_hInstance, &m_bCursorMade);
    }
    return m_hCursor;
}

// The native class can only be unregistered once no window of it is left,
// so the registration is given back after our window is gone: by
// DestroyNative, by a new Create under another name, or by the destructor.
void ImplKwComponent::GiveBackClass()
{
    if (!m_bClassRegistered || !KwClassRegistry::Enter()) {
        return;
    }
    m_bClassRegistered = 0;
    // What this object registered the class with is the class's: without
    // the registration it must not be reused or destroyed from here.
    m_hLargeIcon = nullptr;
    m_hSmallIcon = nullptr;
    m_hCursor = nullptr;
    int count = KwClassRegistry::GetCount(m_sRegisteredName);
    void* handles[KW_CLASS_HANDLE_SLOTS] = {nullptr, nullptr, nullptr};
    // A class the system refuses to unregister still has windows that may
    // show its handles: they are left alive then.
    if (count <= 1 && UnregisterClassA(TextOf(m_sRegisteredName), m_hRegisteredInstance)) {
        for (int slot = 0; slot < KW_CLASS_HANDLE_SLOTS; ++slot) {
            handles[slot] = KwClassRegistry::ExchangeHandle(m_sRegisteredName, slot, nullptr);
        }
    }
    KwClassRegistry::SetCount(m_sRegisteredName, count - 1);
    KwClassRegistry::Leave();
    // The class and its last window are gone: nothing shows these any more.
    DestroyIconHandle(static_cast<HICON>(handles[KW_CLASS_LARGE_ICON]), 1);
    DestroyIconHandle(static_cast<HICON>(handles[KW_CLASS_SMALL_ICON]), 1);
    DestroyCursorHandle(static_cast<HCURSOR>(handles[KW_CLASS_CURSOR]), 1);
}

} // namespace KwSDK
