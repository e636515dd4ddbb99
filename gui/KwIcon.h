// A window icon description: a type number, an icon file, or the data of a
// custom icon.
#ifndef KWSDK_KWICON_H
#define KWSDK_KWICON_H

#include "KwObject.h"
#include "KwString.h"

namespace KwSDK {

const int KW_ICON_APPLICATION = 0;
const int KW_ICON_INFORMATION = 1;
const int KW_ICON_ERROR = 2;
const int KW_ICON_WARNING = 3;
const int KW_ICON_ERROR_2 = 4;
const int KW_ICON_INFORMATION_2 = 5;
const int KW_ICON_QUESTION = 6;
const int KW_ICON_WARNING_2 = 7;
const int KW_ICON_LOGO = 8;
const int KW_ICON_FILE = 9;
const int KW_ICON_CUSTOM = 10;

// A fresh icon is the application icon (type 0). A custom icon (type 10) is
// a subclass that answers its size, planes, bits per pixel and the two bit
// masks; here they are empty, so a plain custom icon yields no native icon.
class KwIcon : public virtual KwObject {
public:
    KwIcon();
    ~KwIcon() override;

    virtual int GetType() const;
    virtual void SetType(int type);
    // Stores the file name and switches to type 9.
    virtual void SetFileName(const KwString& fileName);
    // What the system loads the icon from: the system icon number (as a
    // resource name) for the system types, the file name's text for type 9,
    // null for any other type.
    virtual const char* GetResource() const;
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    // 1 here.
    virtual int GetPlanes() const;
    // 24 here.
    virtual int GetBitsPerPixel() const;
    virtual const unsigned char* GetAndBits() const;
    virtual const unsigned char* GetXorBits() const;

private:
    int m_nType;
    KwString m_sFileName;
};

} // namespace KwSDK

#endif
