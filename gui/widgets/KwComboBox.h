// A drop-down combo box: an edit field, an arrow button and a list that
// drops down below the field (or above it near the bottom of the screen).
#ifndef KWSDK_KWCOMBOBOX_H
#define KWSDK_KWCOMBOBOX_H

#include "KwContainer.h"
#include "KwString.h"

namespace KwSDK {

class KwComboBoxArrowButton;
class KwComboBoxEdit;
class KwComboBoxListBox;

// Posted to the parent when the user chose an item whose index differs
// from the one chosen before; the parameter is 0.
const int EVT_COMBO_SELECTION_CHANGED = 0x04101901;

// The parts are children of the combo box; the list is a pop-up window
// placed in screen coordinates, hidden until it drops down. Edit field and
// list keep the flat look whatever look the combo box has. Choosing an
// item through the list (a click, or Enter in the field) puts its text
// into the field and closes the list; ChooseItem does the same from code
// and sends nothing. A part that could not be made is simply absent.
class KwComboBox : public KwContainer {
public:
    KwComboBox();
    ~KwComboBox() override;

    // The setters replace the part (the old one leaves the combo box; null
    // leaves it without one); the getters answer the part with one added
    // reference, or null.
    virtual void SetArrowButton(KwComboBoxArrowButton* arrow);
    virtual KwComboBoxArrowButton* GetArrowButton();
    virtual void SetEdit(KwComboBoxEdit* edit);
    virtual KwComboBoxEdit* GetEdit();
    virtual void SetListBox(KwComboBoxListBox* list);
    virtual KwComboBoxListBox* GetListBox();
    virtual void AddItem(const KwString& text);
    // A combo box that is not editable offers only the list's items.
    virtual void SetEditable(int editable);
    // Selects the item in the list and puts its text into the field;
    // sends nothing. Indices out of range are ignored.
    virtual void ChooseItem(int index);
    // Rows the open list shows; values below 1 are ignored.
    virtual void SetDropDownRows(int rows);
    virtual void SetEditText(const KwString& text);
    virtual KwString GetEditText();
    // Empties the list; the chosen index becomes -1.
    virtual void RemoveAllItems();
    virtual int GetItemCount();
    // Empty for an index out of range.
    virtual KwString GetItemText(int index);
    // The index chosen last, -1 when none.
    virtual int GetChosenIndex();
    // Sizes the list for the rows and puts it below the combo box, or above
    // it when it would pass the bottom of the screen.
    virtual void PlaceDropDown();
    // Puts the arrow button at the right and the field beside it.
    virtual void Layout();

    // Opens the list over the field with its text selected; selectFirst
    // also selects the list's first item. The list takes the mouse.
    void DropDown(int selectFirst);
    // Hides the list and gives the mouse back.
    void CloseDropDown();
    int IsDroppedDown();
    // Moves the list's selection one row up (step -1) or down (step 1).
    void StepListSelection(int step);
    // Closes the list and has it post its selection, which the combo box
    // then takes over as if the item had been clicked.
    void ConfirmListSelection();

    // The edit field and the list keep their flat look.
    void Set3DLook(int look) override;
    void OnAfterCreate() override;
    int ActionPerformed(KwObject* source, int id, intptr_t param) override;
    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnFocusGained() override;
    int OnSize(int kind, int width, int height) override;
    using KwContainer::OnFocusGained;
    using KwContainer::OnPaint;
    using KwContainer::OnSize;

private:
    KwComboBox(const KwComboBox&) = delete;
    KwComboBox& operator=(const KwComboBox&) = delete;

    void ReplacePart(KwComponent* old, KwComponent* part);
    void TakeListSelection();

    KwComboBoxListBox* m_pList;
    KwComboBoxArrowButton* m_pArrow;
    KwComboBoxEdit* m_pEdit;
    int m_nChosen;
    int m_nRows;
    int m_bEditable;
    int m_bAttached;
    int m_bDroppedDown;
    int m_nBorder;
};

} // namespace KwSDK

#endif
