// The kwimg commands on top of the file source's detection and the decoder
// factory.
#include "KwImgTool.h"

#include "KwDecoderFactory.h"
#include "KwImageFormat.h"
#include "KwImgFileSrc.h"
#include "KwPamWriter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace KwSDK {

namespace {

// A frame number: decimal digits only.
int ParseIndex(const char* text, int* value)
{
    if (text == nullptr || *text == '\0' || std::strlen(text) > 9) {
        return 0;
    }
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9') {
            return 0;
        }
    }
    *value = std::atoi(text);
    return 1;
}

// OUT.pam becomes OUT-N.pam; any other name gets "-N.pam" appended.
KwString FramePath(const char* out, int index)
{
    KwString name(out);
    int length = name.GetLength();
    if (length > 4 && KwString(out + length - 4).CompareNoCase(".pam") == 0) {
        name.Assign(out, length - 4);
    }
    KwString path;
    path.Format("%s-%d.pam", name.GetText() ? name.GetText() : "", index);
    return path;
}

} // namespace

int KwImgTool::Run(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "info") == 0) {
        return Info(argv[2]);
    }
    if (argc < 4 || std::strcmp(argv[1], "decode") != 0) {
        return Usage();
    }
    int frame = 0;
    int all = 0;
    if (argc == 5 && std::strcmp(argv[4], "--all") == 0) {
        all = 1;
    } else if (argc == 6 && std::strcmp(argv[4], "--frame") == 0) {
        if (!ParseIndex(argv[5], &frame)) {
            return Usage();
        }
    } else if (argc != 4) {
        return Usage();
    }
    return Decode(argv[2], argv[3], frame, all);
}

int KwImgTool::Usage()
{
    std::fprintf(stderr, "usage: kwimg info FILE | kwimg decode FILE OUT.pam [--frame N | --all]\n");
    return 2;
}

int KwImgTool::Failure(const char* file, const char* reason)
{
    std::fprintf(stderr, "kwimg: %s: %s\n", file, reason);
    return 1;
}

IKwCoder* KwImgTool::OpenDecoder(const char* file, int* type)
{
    KwImgFileSrc source;
    if (!source.SetFile(KwString(file))) {
        Failure(file, "not a picture type this toolkit recognises (or unreadable)");
        return nullptr;
    }
    *type = source.GetType();
    IKwCoder* decoder = KwCreateDecoder(*type);
    if (decoder == nullptr) {
        Failure(file, "no decoder for this type");
        return nullptr;
    }
    if (!decoder->OpenFile(KwString(file))) {
        Failure(file, decoder->GetErrorMessage(decoder->GetErrorCode()));
        decoder->Release();
        return nullptr;
    }
    return decoder;
}

int KwImgTool::Info(const char* file)
{
    int type = 0;
    IKwCoder* decoder = OpenDecoder(file, &type);
    if (decoder == nullptr) {
        return 1;
    }
    int format = decoder->GetFormat();
    std::printf("type: %d\nwidth: %d\nheight: %d\n", type, decoder->GetWidth(), decoder->GetHeight());
    if (format == KW_FORMAT_SAMPLES4) {
        std::printf("format: %d (4 samples per pixel as the decoder delivers them; "
                    "decode writes them unchanged as R, G, B, A)\n", format);
    } else {
        std::printf("format: %d\n", format);
    }
    std::printf("frames: %d\n", decoder->GetImageCount());
    decoder->Release();
    return 0;
}

int KwImgTool::Decode(const char* file, const char* out, int frame, int all)
{
    int type = 0;
    IKwCoder* decoder = OpenDecoder(file, &type);
    if (decoder == nullptr) {
        return 1;
    }
    KwImageGroup* group = decoder->GetImageGroup();
    if (group == nullptr) {
        int status = Failure(file, decoder->GetErrorMessage(decoder->GetErrorCode()));
        decoder->Release();
        return status;
    }
    decoder->Release();
    int status = 0;
    if (all) {
        for (int i = 0; i < group->GetCount() && status == 0; ++i) {
            status = WriteFrame(group, i, FramePath(out, i), file);
        }
    } else if (frame >= group->GetCount()) {
        status = Failure(file, "no frame with that number");
    } else {
        status = WriteFrame(group, frame, KwString(out), file);
    }
    group->Release();
    return status;
}

int KwImgTool::WriteFrame(KwImageGroup* group, int index, const KwString& path, const char* file)
{
    KwImage* image = group->GetAt(index);
    if (image == nullptr) {
        return Failure(file, "no frame with that number");
    }
    const char* reason = "";
    int ok = KwPamWriter::Write(image, path, &reason);
    image->Release();
    return ok ? 0 : Failure(path.GetText(), reason);
}

} // namespace KwSDK
