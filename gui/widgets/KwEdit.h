// A single-line text entry field with caret, selection, clipboard, a
// maximum length and a password echo.
#ifndef KWSDK_KWEDIT_H
#define KWSDK_KWEDIT_H

#include "KwColor.h"
#include "KwDesignComponent.h"
#include "KwString.h"

namespace KwSDK {

class KwCursor;

// Fired (FireAction) when the user changes the text; the parameter is 0.
const int EVT_TEXT_CHANGED = 0x04100901;

// The text is bytes in the ANSI code page; a lead byte and its trail byte
// are one character everywhere here, and indices count characters.
//
// The field keeps the text as a string and, once its window exists, as a
// doubly linked list of character nodes, each measured in the field's font;
// the list is the working copy that editing changes, and GetText rebuilds
// the string from it. The selection runs between the anchor and the caret
// (in either order); the view shows the characters from the first visible
// index on, and scrolls sideways by the scroll step.
class KwEdit : public virtual KwDesignComponent {
public:
    KwEdit();
    ~KwEdit() override;

    // Stores the text (at most the maximum length of characters once the
    // field is realised), puts caret, anchor and view at the start and
    // repaints; fires nothing.
    void SetText(const KwString& text) override;
    // The text as edited; before realisation the text last set.
    KwString GetText() override;

    // In echo mode every character is drawn as the echo character (one
    // character; an empty text keeps the current one).
    virtual void SetEchoMode(int echo, const KwString& character);
    // A negative length is ignored; text already longer is kept.
    virtual void SetMaxLength(int length);
    // A field that is not editable ignores typing and editing keys but
    // still selects, scrolls and copies.
    virtual void SetEditable(int editable);
    // The caret index counted from the first visible character.
    virtual int GetVisibleCaretIndex();
    // Puts the caret at index (-1 or past the end: at the end), scrolls it
    // into view, clears the selection and repaints.
    virtual void RevealCaretAt(int index);
    virtual KwString GetSelectedText();
    virtual int GetSelectionAnchor();
    virtual int GetCaretIndex();
    // Both ends clamped to [0, length]; the caret goes to end.
    virtual void Select(int start, int end);
    virtual void SelectAll();
    virtual void SetSelectionAnchor(int index);
    // Clamped to [0, length]; scrolls the caret into view.
    virtual void SetCaretIndex(int index);
    virtual void SetSelectionBackground(const KwColor& color);
    virtual void SetSelectionForeground(const KwColor& color);
    // Characters the view jumps when the caret leaves it sideways; values
    // below 1 are ignored.
    virtual void SetScrollStep(int step);

    // The font change re-measures the characters of a realised field.
    void SetFont(KwFont* font) override;
    void OnAfterCreate() override;

    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnLButtonDown(const KwPoint& point) override;
    int OnLButtonUp(const KwPoint& point) override;
    int OnLButtonDblClk(const KwPoint& point) override;
    int OnMouseMove(const KwPoint& point) override;
    int OnFocusGained() override;
    int OnFocusLost() override;
    // The cursor is chosen once as the pointer comes in, so that whoever
    // changes it while the pointer stays (design mode) is not overruled.
    int OnSetCursor() override;
    int OnMouseLeave() override;
    int OnChar(int key, int flags) override;
    int OnKeyDown(int key, int flags) override;
    using KwDesignComponent::OnChar;
    using KwDesignComponent::OnFocusGained;
    using KwDesignComponent::OnFocusLost;
    using KwDesignComponent::OnKeyDown;
    using KwDesignComponent::OnLButtonDblClk;
    using KwDesignComponent::OnLButtonDown;
    using KwDesignComponent::OnLButtonUp;
    using KwDesignComponent::OnMouseLeave;
    using KwDesignComponent::OnMouseMove;
    using KwDesignComponent::OnPaint;
    using KwDesignComponent::OnSetCursor;

protected:
    struct CharNode;

    // The character list and its measuring.
    virtual void BuildCharacters(const KwString& text);
    virtual void ClearCharacters();
    virtual int MeasureCharacter(CharNode* node);
    virtual int MeasureAll();
    // Pixel width of count characters from index on (echo widths in echo
    // mode).
    virtual int RunWidth(int index, int count);
    // Editing: each answers 1 when the text changed.
    virtual int InsertCharacter(const char* bytes, int count);
    virtual int RemoveCharacters(int start, int end);
    virtual int DeleteSelection();
    virtual int DeleteBackward();
    virtual int ClearAll();
    virtual void ScrollLeft(int count);
    virtual void ScrollRight(int count);
    // Scrolls until the caret lies inside the view.
    virtual void RevealCaret();
    // Moves the system caret to the caret index.
    virtual void PlaceCaret();
    virtual int Copy();
    virtual int Paste();
    virtual int Cut();
    virtual void MoveHome(int extend);
    virtual void MoveEnd(int extend);
    virtual void MoveLeft(int extend);
    virtual void MoveRight(int extend);
    virtual int DeleteForward();
    // The characters [start, end) as one string.
    virtual KwString Substring(int start, int end);
    // The caret index for a pointer x in field coordinates.
    virtual int HitTest(int x);
    // The node of character index, or null at and past the end.
    virtual CharNode* NodeAt(int index);
    // Puts the caret at index without touching the anchor or the view.
    virtual void MoveCaretTo(int index);

    // Where text and highlight start: the plain field draws its text 4
    // pixels in and its highlight from y 3 inside a border; a field inside
    // another widget may draw closer to its edges and without a border.
    void SetInsets(int textX, int highlightTop, int border);
    int GetLength() const;
    int HasSelection() const;
    int IsEditable() const;
    int IsRealised() const;

private:
    KwEdit(const KwEdit&) = delete;
    KwEdit& operator=(const KwEdit&) = delete;

    int HandleControlKey(int key);
    int HandleEditingKey(int key);
    void PaintCharacters(IKwGraphics* graphics);
    void ComputeScrollStep();
    void PutCaretInView(int index);
    int LastPageStart();
    int ViewLimit();
    void ChangeCaret(int index);
    void AcceptCharacter(const char* bytes, int count);
    void ApplyCursor();

    KwString m_sText;
    CharNode* m_pFirst;
    CharNode* m_pLast;
    int m_nLength;
    int m_nMaxLength;
    int m_nFirstVisible;
    int m_nAnchor;
    int m_nCaret;
    int m_nScrollStep;
    int m_nLineHeight;
    int m_bReadOnly;
    int m_bHasFocus;
    int m_bLeadPending;
    char m_lead[3];
    int m_bEcho;
    KwString m_sEcho;
    int m_nEchoWidth;
    KwColor m_cSelectionBack;
    KwColor m_cSelectionText;
    KwCursor* m_pTextCursor;
    KwCursor* m_pArrowCursor;
    int m_bPointerInside;
    int m_bRealised;
    int m_nTextX;
    int m_nHighlightTop;
    int m_bBorder;
};

} // namespace KwSDK

#endif
