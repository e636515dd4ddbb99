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
    KwClassRegistry::Leave();
    return atom;
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
    int count = KwClassRegistry::GetCount(m_sRegisteredName);
    if (count <= 1) {
        UnregisterClassA(TextOf(m_sRegisteredName), m_hRegisteredInstance);
    }
    KwClassRegistry::SetCount(m_sRegisteredName, count - 1);
    KwClassRegistry::Leave();
}

} // namespace KwSDK
