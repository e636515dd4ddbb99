// A component that holds child components, each in a native child window.
#include "KwContainer.h"

#include "KwFont.h"

namespace KwSDK {

KwContainer::KwContainer() : m_bContainerCreated(0)
{
    AppendTypeName("KwContainer");
    SetClassName("KwContainer");
}

// The children's windows are destroyed while ours still exists, and every
// reference the array holds is given back.
KwContainer::~KwContainer()
{
    KwContainer::RemoveAll();
}

KwComponent* KwContainer::GetChild(int index) const
{
    return static_cast<KwComponent*>(m_children.GetAt(index));
}

int KwContainer::IsContainerCreated() const
{
    return m_bContainerCreated;
}

// Listening, the font and the child's window, in that order.
void KwContainer::Attach(KwComponent* child, KwFont* font)
{
    child->AddActionListener(this);
    child->AddComponentListener(this);
    if (font != nullptr) {
        child->SetFont(font);
    }
    AddNativeChild(child);
}

void KwContainer::Detach(KwComponent* child)
{
    child->RemoveActionListener(this);
    child->RemoveComponentListener(this);
}

int KwContainer::Add(KwComponent* child)
{
    if (child == nullptr) {
        return 0;
    }
    child->AddRef();
    if (!m_children.Add(child)) {
        child->Release();
        return 0;
    }
    child->Set3DLook(Is3DLook());
    if (m_bContainerCreated) {
        KwFont* font = GetFont();
        Attach(child, font);
        if (font != nullptr) {
            font->Release();
        }
    }
    return 1;
}

int KwContainer::Remove(KwComponent* child)
{
    if (child == nullptr || !m_children.Remove(child)) {
        return 0;
    }
    if (m_bContainerCreated) {
        Detach(child);
        child->DestroyNative();
    }
    child->Release();
    return 1;
}

// Children are taken out from the end, so the array never shifts under the
// loop; a child held twice is removed twice.
void KwContainer::RemoveAll()
{
    for (int i = m_children.GetCount() - 1; i >= 0; --i) {
        KwComponent* child = GetChild(i);
        if (child != nullptr) {
            Remove(child);
        }
    }
    m_children = TKwVector<void*>();
}

int KwContainer::GetChildCount()
{
    return m_children.GetCount();
}

KwComponent* KwContainer::GetComponentAt(const KwPoint& point)
{
    return GetComponentAt(point.GetX(), point.GetY());
}

KwComponent* KwContainer::GetComponentAt(int x, int y)
{
    for (int i = 0; i < m_children.GetCount(); ++i) {
        KwComponent* child = GetChild(i);
        if (child == nullptr) {
            continue;
        }
        KwPoint location = child->GetLocation();
        KwSize size = child->GetSize();
        if (location.GetX() <= x && x <= location.GetX() + size.GetWidth() &&
            location.GetY() <= y && y <= location.GetY() + size.GetHeight()) {
            child->AddRef();
            return child;
        }
    }
    return nullptr;
}

int KwContainer::HasFocus()
{
    if (KwDesignComponent::HasFocus()) {
        return 1;
    }
    for (int i = 0; i < m_children.GetCount(); ++i) {
        KwComponent* child = GetChild(i);
        if (child != nullptr && child->HasFocus()) {
            return 1;
        }
    }
    return 0;
}

void KwContainer::Set3DLook(int look)
{
    KwDesignComponent::Set3DLook(look);
    for (int i = 0; i < m_children.GetCount(); ++i) {
        KwComponent* child = GetChild(i);
        if (child != nullptr) {
            child->Set3DLook(look);
        }
    }
}

void KwContainer::OnAfterCreate()
{
    m_bContainerCreated = 1;
    KwFont* font = GetFont();
    for (int i = 0; i < m_children.GetCount(); ++i) {
        KwComponent* child = GetChild(i);
        if (child != nullptr) {
            Attach(child, font);
        }
    }
    if (font != nullptr) {
        font->Release();
    }
}

void KwContainer::Repaint(const KwRect& area)
{
    KwDesignComponent::Repaint(area);
    for (int i = 0; i < m_children.GetCount(); ++i) {
        KwComponent* child = GetChild(i);
        if (child != nullptr) {
            child->Repaint(area);
        }
    }
}

void KwContainer::RepaintAll()
{
    KwDesignComponent::RepaintAll();
    for (int i = 0; i < m_children.GetCount(); ++i) {
        KwComponent* child = GetChild(i);
        if (child != nullptr) {
            child->RepaintAll();
        }
    }
}

int KwContainer::OnDestroy()
{
    for (int i = 0; m_bContainerCreated && i < m_children.GetCount(); ++i) {
        KwComponent* child = GetChild(i);
        if (child != nullptr) {
            Detach(child);
        }
    }
    m_bContainerCreated = 0;
    return 1;
}

} // namespace KwSDK
