// The progress line that carton-pack shows while it compresses a large input.
#ifndef CARTON_PACK_PROGRESS_H
#define CARTON_PACK_PROGRESS_H

#include <cstdio>

namespace KwSDK {

class CartonPackProgress {
public:
    // Inputs below this many bytes compress too fast to need a progress line.
    static const unsigned long long kLargeInput = 16ull * 1024 * 1024;

    // Shows progress on the stream only when it is a terminal.
    explicit CartonPackProgress(FILE* stream);

    // A KwPackProgress callback; context is a CartonPackProgress.
    static void Report(void* context, unsigned long long done, unsigned long long total);
    // Ends the line if one was shown.
    void Finish();

private:
    void Show(unsigned long long done, unsigned long long total);

    FILE* m_pStream;
    int m_bTerminal;
    int m_nLastPercent;
    int m_bShown;
};

} // namespace KwSDK

#endif
