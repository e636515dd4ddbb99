// Actions posted to a component's own window or to its parent's, and their
// delivery from the message loop.
#include "ImplKwComponent.h"

#include "KwComponent.h"
#include "KwReferenceGuard.h"

#include <new>

namespace KwSDK {

namespace {

// The record that carries an action posted to the parent's window. The
// source is held while the message waits, so a widget released in the
// meantime is still alive when its action is delivered.
struct CHILDACTION {
    KwObject* source;
    intptr_t param;
    int held;
};

void FreeChildAction(CHILDACTION* record)
{
    if (record->held) {
        record->source->Release();
    }
    delete record;
}

} // namespace

// Child actions still queued for a window that goes away would never be
// delivered: free their records (and the sources they hold) now.
void ImplKwComponent::DropPendingActions(HWND window)
{
    MSG message;
    while (window != nullptr &&
           PeekMessageA(&message, window, KW_MSG_CHILD_ACTION, KW_MSG_CHILD_ACTION, PM_REMOVE)) {
        CHILDACTION* record = reinterpret_cast<CHILDACTION*>(message.wParam);
        if (record != nullptr) {
            FreeChildAction(record);
        }
    }
}

int ImplKwComponent::DeliverChildAction(WPARAM record, LPARAM id)
{
    CHILDACTION* action = reinterpret_cast<CHILDACTION*>(record);
    if (action == nullptr) {
        return 0;
    }
    if (m_pOwner != nullptr) {
        m_pOwner->DeliverChildAction(action->source, static_cast<int>(id), action->param);
    }
    FreeChildAction(action);
    return 0;
}

int ImplKwComponent::DeliverOwnAction(WPARAM param, LPARAM id)
{
    if (m_pOwner != nullptr) {
        m_pOwner->FireAction(static_cast<int>(id), static_cast<intptr_t>(param));
    }
    return 0;
}

void ImplKwComponent::PostAction(int id, intptr_t param)
{
    if (m_hWindow != nullptr) {
        PostMessageA(m_hWindow, KW_MSG_OWN_ACTION, static_cast<WPARAM>(param),
                     static_cast<LPARAM>(id));
    }
}

void ImplKwComponent::PostActionToParent(int id, intptr_t param)
{
    if (m_pParent == nullptr || m_pParent->m_hWindow == nullptr) {
        return;
    }
    CHILDACTION* record = new (std::nothrow) CHILDACTION;
    if (record == nullptr) {
        return;
    }
    record->source = Source();
    record->param = param;
    record->held = KwHoldReference(record->source);
    if (!PostMessageA(m_pParent->m_hWindow, KW_MSG_CHILD_ACTION, reinterpret_cast<WPARAM>(record),
                      static_cast<LPARAM>(id))) {
        FreeChildAction(record);
    }
}

} // namespace KwSDK
