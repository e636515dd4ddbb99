// File-type detection and decoding of image files by path.
#include "KwImgFileSrc.h"

#include "KwDecoderFactory.h"
#include "KwFileStream.h"

#include <new>

namespace KwSDK {

namespace {

// Detection looks at this many leading bytes; shorter files are never
// recognised, whatever their extension.
const int kSignatureLength = 10;

struct EXTENSIONTYPE {
    const char* pszExtension;
    int nType;
};

// Checked in this order; the first match wins.
const EXTENSIONTYPE kExtensions[] = {
    {"pcx", KW_FILE_PCX}, {"tif", KW_FILE_TIFF}, {"tiff", KW_FILE_TIFF}, {"jp2", KW_FILE_JP2},
    {"jpc", KW_FILE_JPC}, {"pgx", KW_FILE_PGX},  {"ras", KW_FILE_RAS},   {"tga", KW_FILE_TGA},
    {"emf", KW_FILE_EMF}, {"ico", KW_FILE_ICO},  {"cur", KW_FILE_CUR},
};

int PortableAnymapType(const unsigned char* bytes)
{
    if (bytes[0] != 'P' || bytes[2] != '\n') {
        return KW_FILE_UNKNOWN;
    }
    switch (bytes[1]) {
    case '1': case '4': return KW_FILE_PBM;
    case '2': case '5': return KW_FILE_PGM;
    case '3': case '6': return KW_FILE_PPM;
    default: return KW_FILE_UNKNOWN;
    }
}

// Reads the first bytes of a file; answers how many were read.
int ReadLeadingBytes(const KwString& path, unsigned char* bytes, int count)
{
    KwFileStream* stream = new (std::nothrow) KwFileStream();
    if (stream == nullptr) {
        return 0;
    }
    stream->AddRef();
    int done = 0;
    if (stream->Open(path, KW_MODE_READ)) {
        while (done < count) {
            int got = stream->Read(bytes + done, count - done);
            if (got <= 0) {
                break;
            }
            done += got;
        }
        stream->Close();
    }
    stream->Release();
    return done;
}

} // namespace

KwImgFileSrc::KwImgFileSrc() : m_nType(KW_FILE_UNKNOWN)
{
    AppendTypeName("KwImgFileSrc");
}

KwImgFileSrc::~KwImgFileSrc() = default;

int KwImgFileSrc::SetFile(const KwString& path)
{
    m_nType = KW_FILE_UNKNOWN;
    m_strPath = "";
    if (!Detect(path)) {
        return 0;
    }
    m_strPath = path;
    return 1;
}

KwImage* KwImgFileSrc::Decode()
{
    if (m_nType == KW_FILE_UNKNOWN || m_strPath.GetLength() == 0) {
        return nullptr;
    }
    IKwCoder* decoder = KwCreateDecoder(m_nType);
    if (decoder == nullptr) {
        return nullptr;
    }
    KwImage* image = decoder->OpenFile(m_strPath) ? decoder->GetImage() : nullptr;
    decoder->Release();
    return image;
}

KwImageGroup* KwImgFileSrc::DecodeGroup()
{
    if (m_nType != KW_FILE_GIF || m_strPath.GetLength() == 0) {
        return nullptr;
    }
    IKwCoder* decoder = KwCreateDecoder(m_nType);
    if (decoder == nullptr) {
        return nullptr;
    }
    KwImageGroup* group = decoder->OpenFile(m_strPath) ? decoder->GetImageGroup() : nullptr;
    decoder->Release();
    return group;
}

int KwImgFileSrc::Detect(const KwString& path)
{
    unsigned char bytes[kSignatureLength] = {0};
    if (ReadLeadingBytes(path, bytes, kSignatureLength) < kSignatureLength) {
        return 0;
    }
    int type = TypeFromSignature(bytes, kSignatureLength);
    if (type == KW_FILE_UNKNOWN) {
        type = TypeFromExtension(path);
    }
    if (type == KW_FILE_UNKNOWN) {
        return 0;
    }
    m_nType = type;
    return 1;
}

int KwImgFileSrc::GetType() const { return m_nType; }
const KwString& KwImgFileSrc::GetFile() const { return m_strPath; }

int KwImgFileSrc::Deliver()
{
    if (m_nType == KW_FILE_UNKNOWN || m_strPath.GetLength() == 0) {
        return 0;
    }
    IKwCoder* decoder = KwCreateDecoder(m_nType);
    if (decoder == nullptr || !decoder->OpenFile(m_strPath)) {
        if (decoder != nullptr) {
            decoder->Release();
        }
        return 0;
    }
    int delivered = 0;
    for (int i = 0; i < GetPinCount(); ++i) {
        IKwPin* pin = GetPinAt(i);
        KwObject* target = pin->GetConnected();
        if (target != nullptr) {
            delivered += decoder->DeliverTo(target);
            target->Release();
        }
        pin->Release();
    }
    decoder->Release();
    return delivered;
}

int KwImgFileSrc::TypeFromSignature(const unsigned char* bytes, int count)
{
    if (bytes == nullptr || count < kSignatureLength) {
        return KW_FILE_UNKNOWN;
    }
    if (bytes[0] == 'B' && bytes[1] == 'M') {
        return KW_FILE_BMP;
    }
    if (bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F' && bytes[3] == '8' && bytes[5] == 'a') {
        return KW_FILE_GIF;
    }
    int anymap = PortableAnymapType(bytes);
    if (anymap != KW_FILE_UNKNOWN) {
        return anymap;
    }
    if (bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G') {
        return KW_FILE_PNG;
    }
    if (bytes[0] == 0xD7 && bytes[1] == 0xCD && bytes[2] == 0xC6 && bytes[3] == 0x9A) {
        return KW_FILE_WMF;
    }
    if (bytes[0] == 0xFF && bytes[1] == 0xD8) {
        return KW_FILE_JPEG;
    }
    return KW_FILE_UNKNOWN;
}

int KwImgFileSrc::TypeFromExtension(const KwString& path)
{
    int dot = path.ReverseFind('.');
    if (dot < 0) {
        return KW_FILE_UNKNOWN;
    }
    KwString extension = path.Mid(dot + 1, -1);
    for (const EXTENSIONTYPE& entry : kExtensions) {
        if (extension.CompareNoCase(entry.pszExtension) == 0) {
            return entry.nType;
        }
    }
    return KW_FILE_UNKNOWN;
}

} // namespace KwSDK
