// The text caret of a component: its size, an optional context object and
// the operations on the system caret.
#ifndef KWSDK_IKWCARET_H
#define KWSDK_IKWCARET_H

#include "KwObject.h"

namespace KwSDK {

// Holds the caret's width (1 at first), height (16) and context (an owned
// reference, null at first). The system-caret operations do nothing and
// answer 0 here; ComponentCaret binds them to a window.
class IKwCaret : public virtual KwObject {
public:
    IKwCaret();
    ~IKwCaret() override;

    virtual int GetWidth() const;
    virtual int GetHeight() const;
    // The context with one added reference, or null.
    virtual KwObject* GetContext();
    // Takes effect at the next CreateCaret.
    virtual void SetWidth(int width);
    virtual void SetHeight(int height);
    // Keeps the object with one reference, releasing the previous one.
    virtual void SetContext(KwObject* context);
    virtual int CreateCaret();
    virtual int ShowCaret();
    virtual int HideCaret();
    virtual int SetPosition(int x, int y);
    virtual int DestroyCaret();
    virtual int SetBlinkTime(int milliseconds);
    virtual int GetBlinkTime();

protected:
    int m_nWidth;
    int m_nHeight;

private:
    IKwCaret(const IKwCaret&) = delete;
    IKwCaret& operator=(const IKwCaret&) = delete;

    KwObject* m_pContext;
};

} // namespace KwSDK

#endif
