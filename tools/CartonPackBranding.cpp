// create's icon and version options and the launcher copy they shape.
#include "CartonPackBranding.h"

#include "CartonPackPe.h"
#include "CartonPackResources.h"
#include "KwFile.h"
#include "KwFileStream.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace KwSDK {

namespace {

const unsigned int kMaxIconBytes = 16u << 20;

int ReadWholeFile(const KwString& path, std::vector<unsigned char>* bytes,
                  unsigned int limit = kMaxIconBytes)
{
    KwFile file(path);
    unsigned int length = file.GetLength();
    KwFileStream in;
    if (!file.IsFile() || length > limit || !in.Open(path, KW_MODE_READ))
        return 0;
    bytes->resize(length);
    return length == 0 || in.Read(bytes->data(), static_cast<int>(length)) == static_cast<int>(length);
}

int CopyWholeFile(const KwString& from, const KwString& to)
{
    std::vector<unsigned char> bytes;
    KwFileStream out;
    int size = 0;
    if (!ReadWholeFile(from, &bytes, 0x7FFFFFFF) || !out.Open(to, KW_MODE_WRITE))
        return 0;
    size = static_cast<int>(bytes.size());
    return (size == 0 || out.Write(bytes.data(), size) == size) && out.Close();
}

} // namespace

int CartonPackBranding::Fail(const char* format, ...)
{
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    m_strReason = text;
    return 0;
}

const KwString& CartonPackBranding::GetReason() const
{
    return m_strReason;
}

const char* CartonPackBranding::GetMissingOption() const
{
    return m_pMissing;
}

int CartonPackBranding::TakeOption(int argc, char** argv, int* index)
{
    static const char* const kNames[] = {"--icon", "--version", "--product", "--company", "--description"};
    KwString* targets[] = {&m_strIcon, &m_strVersion, &m_strProduct, &m_strCompany, &m_strDescription};
    const char* arg = argv[*index];
    for (int n = 0; n < 5; ++n) {
        size_t length = strlen(kNames[n]);
        if (strncmp(arg, kNames[n], length) != 0 || (arg[length] != 0 && arg[length] != '='))
            continue;
        m_pMissing = kNames[n];
        if (arg[length] == '=') {
            *targets[n] = arg + length + 1;
        } else {
            if (*index + 1 >= argc)
                return -1;
            *targets[n] = argv[++*index];
        }
        return targets[n]->GetLength() > 0 ? 1 : -1;
    }
    return 0;
}

int CartonPackBranding::HasVersion() const
{
    return m_strVersion.GetLength() > 0 || m_strProduct.GetLength() > 0 || m_strCompany.GetLength() > 0 ||
           m_strDescription.GetLength() > 0;
}

int CartonPackBranding::HasMarks() const
{
    return m_strIcon.GetLength() > 0 || HasVersion();
}

int CartonPackBranding::CheckValues()
{
    unsigned int parts[4];
    if (HasVersion() && m_strVersion.GetLength() == 0)
        return Fail("--product, --company and --description need --version");
    if (m_strVersion.GetLength() > 0 && !CartonPackResources::ParseVersion(m_strVersion, parts))
        return Fail("--version '%s' is not up to four numbers from 0 to 65535, such as 1.2.3.4",
                    m_strVersion.GetText());
    std::vector<unsigned char> icon;
    if (m_strIcon.GetLength() > 0 && !ReadWholeFile(m_strIcon, &icon))
        return Fail("can not read icon: %s", m_strIcon.GetText());
    return 1;
}

int CartonPackBranding::PrepareStub(const KwString& stubPath, const KwString& copyPath)
{
    CartonPackPe image;
    if (!image.Load(stubPath)) {
        if (HasMarks())
            return Fail("%s: %s", stubPath.GetText(), image.GetReason().GetText());
        // Not a program image (a test stand-in): packed as it is.
        return CopyWholeFile(stubPath, copyPath) ? 1 : Fail("can not copy %s", stubPath.GetText());
    }
    image.RemoveSignature();
    if (HasMarks()) {
        CartonPackResources resources;
        std::vector<unsigned char> icon;
        if (!image.ReadResources(&resources))
            return Fail("%s: %s", stubPath.GetText(), image.GetReason().GetText());
        if (m_strIcon.GetLength() > 0 &&
            (!ReadWholeFile(m_strIcon, &icon) || !resources.SetIcon(icon)))
            return Fail("%s: %s", m_strIcon.GetText(),
                        resources.GetReason().GetLength() > 0 ? resources.GetReason().GetText() : "can not read icon");
        if (HasVersion() && !resources.SetVersion(m_strVersion, m_strProduct, m_strCompany, m_strDescription))
            return Fail("%s", resources.GetReason().GetText());
        if (!image.WriteResources(resources))
            return Fail("%s: %s", stubPath.GetText(), image.GetReason().GetText());
    }
    return image.Save(copyPath) ? 1 : Fail("can not write %s", copyPath.GetText());
}

int CartonPackBranding::FinishPackage(const KwString& path)
{
    KwString reason;
    if (!CartonPackPe::UpdateChecksum(path, &reason))
        return Fail("%s: %s", path.GetText(), reason.GetText());
    return 1;
}

} // namespace KwSDK
