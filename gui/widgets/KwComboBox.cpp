// A drop-down combo box: an edit field, an arrow button and a list that
// drops down below the field (or above it near the bottom of the screen).
#include "KwComboBox.h"

#include "IKwGraphics.h"
#include "ImplKwComponent.h"
#include "KwComboBoxArrowButton.h"
#include "KwComboBoxEdit.h"
#include "KwComboBoxListBox.h"

#include <new>

namespace KwSDK {

namespace {

const int kDefaultRows = 5;
const int kPartStartSize = 20;

template <class T>
T* Held(T* part)
{
    if (part != nullptr) {
        part->AddRef();
    }
    return part;
}

template <class T>
void Drop(T* part)
{
    if (part != nullptr) {
        part->Release();
    }
}

} // namespace

KwComboBox::KwComboBox()
    : m_pList(nullptr),
      m_pArrow(nullptr),
      m_pEdit(nullptr),
      m_nChosen(-1),
      m_nRows(kDefaultRows),
      m_bEditable(1),
      m_bAttached(0),
      m_bDroppedDown(0),
      m_nBorder(0)
{
    AppendTypeName("KwComboBox");
    SetClassName("KwComboBox");
    SetListBox(new (std::nothrow) KwComboBoxListBox());
    SetArrowButton(new (std::nothrow) KwComboBoxArrowButton());
    SetEdit(new (std::nothrow) KwComboBoxEdit());
}

KwComboBox::~KwComboBox()
{
    if (m_pEdit != nullptr) {
        m_pEdit->SetComboBox(nullptr);
    }
    Drop(m_pEdit);
    Drop(m_pArrow);
    Drop(m_pList);
}

// ---- Parts -------------------------------------------------------------------

void KwComboBox::ReplacePart(KwComponent* old, KwComponent* part)
{
    if (old != nullptr) {
        Remove(old);
    }
    if (part != nullptr) {
        Add(part);
    }
    if (m_bAttached) {
        Layout();
    }
}

// The list is a pop-up in screen coordinates, hidden until it drops down.
void KwComboBox::SetListBox(KwComboBoxListBox* list)
{
    if (list == m_pList) {
        return;
    }
    KwComboBoxListBox* old = m_pList;
    m_pList = Held(list);
    if (list != nullptr) {
        list->SetWindowType(KW_WINDOW_POPUP);
        list->Hide();
        list->SetFocusable(0);
        list->SetSize(kPartStartSize, kPartStartSize, 0);
    }
    ReplacePart(old, list);
    if (list != nullptr) {
        list->Set3DLook(0);
    }
    Drop(old);
}

KwComboBoxListBox* KwComboBox::GetListBox()
{
    return Held(m_pList);
}

void KwComboBox::SetArrowButton(KwComboBoxArrowButton* arrow)
{
    if (arrow == m_pArrow) {
        return;
    }
    KwComboBoxArrowButton* old = m_pArrow;
    m_pArrow = Held(arrow);
    if (arrow != nullptr) {
        arrow->SetFocusable(0);
        arrow->SetSize(kPartStartSize, kPartStartSize, 0);
    }
    ReplacePart(old, arrow);
    Drop(old);
}

KwComboBoxArrowButton* KwComboBox::GetArrowButton()
{
    return Held(m_pArrow);
}

void KwComboBox::SetEdit(KwComboBoxEdit* edit)
{
    if (edit == m_pEdit) {
        return;
    }
    KwComboBoxEdit* old = m_pEdit;
    if (old != nullptr) {
        old->SetComboBox(nullptr);
    }
    m_pEdit = Held(edit);
    if (edit != nullptr) {
        edit->SetComboBox(this);
        edit->SetFocusable(0);
        edit->SetEditable(m_bEditable);
    }
    ReplacePart(old, edit);
    if (edit != nullptr) {
        edit->Set3DLook(0);
    }
    Drop(old);
}

KwComboBoxEdit* KwComboBox::GetEdit()
{
    return Held(m_pEdit);
}

void KwComboBox::Set3DLook(int look)
{
    KwContainer::Set3DLook(look);
    if (m_pEdit != nullptr) {
        m_pEdit->Set3DLook(0);
    }
    if (m_pList != nullptr) {
        m_pList->Set3DLook(0);
    }
}

// ---- Items and text ----------------------------------------------------------

void KwComboBox::AddItem(const KwString& text)
{
    if (m_pList != nullptr) {
        m_pList->AddItem(text);
    }
}

void KwComboBox::SetEditable(int editable)
{
    m_bEditable = editable;
    if (m_pEdit != nullptr) {
        m_pEdit->SetEditable(editable);
    }
}

void KwComboBox::ChooseItem(int index)
{
    if (m_pList == nullptr || index < 0 || index >= m_pList->GetItemCount()) {
        return;
    }
    m_pList->SelectItem(index);
    m_nChosen = index;
    SetEditText(m_pList->GetItemText(index));
}

void KwComboBox::SetDropDownRows(int rows)
{
    if (rows >= 1) {
        m_nRows = rows;
    }
}

void KwComboBox::SetEditText(const KwString& text)
{
    if (m_pEdit != nullptr) {
        m_pEdit->SetText(text);
    }
}

KwString KwComboBox::GetEditText()
{
    return m_pEdit != nullptr ? m_pEdit->GetText() : KwString("");
}

void KwComboBox::RemoveAllItems()
{
    if (m_pList != nullptr) {
        m_pList->RemoveAllItems();
    }
    m_nChosen = -1;
}

int KwComboBox::GetItemCount()
{
    return m_pList != nullptr ? m_pList->GetItemCount() : 0;
}

KwString KwComboBox::GetItemText(int index)
{
    return m_pList != nullptr ? m_pList->GetItemText(index) : KwString("");
}

int KwComboBox::GetChosenIndex()
{
    return m_nChosen;
}

// ---- Geometry ----------------------------------------------------------------

void KwComboBox::PlaceDropDown()
{
    if (m_pList == nullptr) {
        return;
    }
    KwPoint at = GetScreenLocation();
    KwSize size = GetSize();
    int height = (m_pList->GetFontHeight() + 1) * m_nRows + 3;
    int y = at.GetY() + size.GetHeight() - 1;
    if (y + height > GetScreenSize().GetHeight()) {
        y = at.GetY() - height;
    }
    m_pList->SetBounds(at.GetX(), y, size.GetWidth() - 1, height, 1);
}

void KwComboBox::Layout()
{
    KwSize size = GetSize();
    int w = size.GetWidth();
    int h = size.GetHeight();
    int b = m_nBorder;
    int side = h + 2 * b - 4;
    if (m_pArrow != nullptr) {
        m_pArrow->SetBounds(w - b - h + 2, 2 - b, side, side, 1);
        m_pArrow->SetArrowSize((h - 20) / 4);
    }
    if (m_pEdit != nullptr) {
        m_pEdit->SetBounds(2 - b, 2 - b, w + 2 * b - side - 4, side, 1);
    }
}

// The parts are placed before their windows are made, so the edit field
// measures its scroll step at its real width.
void KwComboBox::OnAfterCreate()
{
    m_bAttached = 1;
    Layout();
    KwContainer::OnAfterCreate();
}

int KwComboBox::OnSize(int kind, int width, int height)
{
    KwContainer::OnSize(kind, width, height);
    Layout();
    return 1;
}

int KwComboBox::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    if (graphics == nullptr) {
        return 1;
    }
    KwSize size = GetSize();
    if (Is3DLook()) {
        graphics->Draw3DFrame(0, 0, size.GetWidth() - 1, size.GetHeight() - 1, KW_FRAME_SUNKEN);
    } else {
        graphics->DrawRect(0, 0, size.GetWidth() - 1, size.GetHeight() - 1);
    }
    return 1;
}

// ---- Behaviour ---------------------------------------------------------------

int KwComboBox::OnFocusGained()
{
    if (m_pEdit != nullptr) {
        m_pEdit->RequestFocus();
    }
    return 1;
}

int KwComboBox::ActionPerformed(KwObject* source, int id, intptr_t)
{
    if (source == nullptr) {
        return 1;
    }
    if (id == EVT_ARROW_PRESSED && m_pArrow != nullptr &&
        source == static_cast<KwObject*>(m_pArrow)) {
        if (IsDroppedDown()) {
            CloseDropDown();
        } else {
            DropDown(0);
        }
    } else if (id == EVT_LIST_SELECT && m_pList != nullptr &&
               source == static_cast<KwObject*>(m_pList)) {
        TakeListSelection();
    }
    return 1;
}

void KwComboBox::DropDown(int selectFirst)
{
    if (m_pList == nullptr) {
        return;
    }
    PlaceDropDown();
    if (m_pEdit != nullptr) {
        m_pEdit->SelectAll();
    }
    if (selectFirst) {
        m_pList->SelectItem(0);
    }
    m_pList->Open();
    m_bDroppedDown = 1;
}

void KwComboBox::CloseDropDown()
{
    if (m_pList != nullptr && m_pList->IsVisible()) {
        m_pList->Close();
    }
    m_bDroppedDown = 0;
}

int KwComboBox::IsDroppedDown()
{
    return m_pList != nullptr && m_pList->IsVisible() ? 1 : 0;
}

void KwComboBox::StepListSelection(int step)
{
    if (m_pList == nullptr) {
        return;
    }
    if (step < 0) {
        m_pList->MoveSelectionUp();
    } else {
        m_pList->MoveSelectionDown();
    }
}

void KwComboBox::ConfirmListSelection()
{
    if (m_pList != nullptr) {
        CloseDropDown();
        m_pList->PostActionToParent(EVT_LIST_SELECT, 0);
    }
}

// The list's item becomes the field's text; only a different index than
// the one chosen before is news for the parent.
void KwComboBox::TakeListSelection()
{
    int index = m_pList->GetFirstSelectedIndex();
    CloseDropDown();
    if (index < 0) {
        return;
    }
    SetEditText(m_pList->GetItemText(index));
    if (m_pEdit != nullptr) {
        m_pEdit->SelectAll();
    }
    if (index != m_nChosen) {
        m_nChosen = index;
        PostActionToParent(EVT_COMBO_SELECTION_CHANGED, 0);
    }
}

} // namespace KwSDK
