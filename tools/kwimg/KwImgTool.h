// The kwimg command line: prints what the toolkit's decoders see in a
// picture file and writes its frames as PAM files.
#ifndef KWSDK_KWIMGTOOL_H
#define KWSDK_KWIMGTOOL_H

#include "IKwCoder.h"
#include "KwString.h"

namespace KwSDK {

// kwimg info FILE
// kwimg decode FILE OUT.pam [--frame N | --all]
// Answers the process exit status: 0 on success, 1 when the file cannot be
// decoded or written, 2 for a wrong command line; every failure prints one
// line on stderr.
class KwImgTool {
public:
    int Run(int argc, char** argv);

private:
    int Info(const char* file);
    int Decode(const char* file, const char* out, int frame, int all);
    // Detects the type and opens a decoder on the file; null after printing
    // the reason.
    IKwCoder* OpenDecoder(const char* file, int* type);
    int WriteFrame(KwImageGroup* group, int index, const KwString& path, const char* file);
    int Usage();
    int Failure(const char* file, const char* reason);
};

} // namespace KwSDK

#endif
