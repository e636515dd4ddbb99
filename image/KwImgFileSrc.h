// The image file source: recognises a file's type from its first bytes or
// its extension and runs the matching decoder.
#ifndef KWSDK_KWIMGFILESRC_H
#define KWSDK_KWIMGFILESRC_H

#include "IKwPin.h"
#include "IKwSrcPin.h"
#include "KwImage.h"
#include "KwImageFormat.h"
#include "KwImageGroup.h"
#include "KwString.h"

namespace KwSDK {

// Holds the path and the detected file type (KW_FILE_UNKNOWN, 1000, when
// none was recognised). As a source pin it can deliver the decoded picture
// into every connected pin's object.
class KwImgFileSrc : public IKwPin, public IKwSrcPin {
public:
    KwImgFileSrc();
    ~KwImgFileSrc() override;

    // Forgets the previous file, detects the new one's type and keeps the
    // path when a type was recognised; 1 then, else 0.
    virtual int SetFile(const KwString& path);
    // A new image (one reference) from the file's decoder, or null. For GIF
    // the first frame.
    virtual KwImage* Decode();
    // For GIF files only: every frame as a new group (one reference).
    virtual KwImageGroup* DecodeGroup();
    // Recognises the type of the file at path by its first 10 bytes (BMP,
    // GIF, PBM/PGM/PPM, PNG, WMF, JPEG, in that order) or else by its
    // extension, ignoring case; files shorter than 10 bytes are never
    // recognised. Stores the type and answers 1 when one was found.
    virtual int Detect(const KwString& path);

    int GetType() const;
    const KwString& GetFile() const;
    // Decodes the file and delivers the picture into the object connected
    // to each connected pin (see IKwCoder::DeliverTo); answers the number
    // of deliveries that succeeded.
    int Deliver();

    // The type for the first bytes of a file (at least 10 of them) by its
    // signature, or KW_FILE_UNKNOWN.
    static int TypeFromSignature(const unsigned char* bytes, int count);
    // The type for a path by its extension, or KW_FILE_UNKNOWN.
    static int TypeFromExtension(const KwString& path);

private:
    KwImgFileSrc(const KwImgFileSrc&) = delete;
    KwImgFileSrc& operator=(const KwImgFileSrc&) = delete;

    KwString m_strPath;
    int m_nType;
};

} // namespace KwSDK

#endif
