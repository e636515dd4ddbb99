// A single self-overwriting progress line on a terminal; silent when the
// output goes to a file or a pipe, so logs stay clean.
#include "CartonPackProgress.h"

#include "KwPlatform.h"

namespace KwSDK {

CartonPackProgress::CartonPackProgress(FILE* stream)
    : m_pStream(stream), m_bTerminal(Platform::IsTerminal(stream)),
      m_nLastPercent(-1), m_bShown(0)
{
}

void CartonPackProgress::Report(void* context, unsigned long long done, unsigned long long total)
{
    CartonPackProgress* progress = static_cast<CartonPackProgress*>(context);
    if (progress && progress->m_bTerminal && total >= kLargeInput)
        progress->Show(done, total);
}

// Redraws only when the whole percentage changes.
void CartonPackProgress::Show(unsigned long long done, unsigned long long total)
{
    int percent = static_cast<int>(done * 100 / total);
    if (percent == m_nLastPercent)
        return;
    m_nLastPercent = percent;
    m_bShown = 1;
    fprintf(m_pStream, "\rcompressing: %3d%% (%u of %u MiB)", percent,
            static_cast<unsigned int>(done >> 20), static_cast<unsigned int>(total >> 20));
    fflush(m_pStream);
}

void CartonPackProgress::Finish()
{
    if (m_bShown)
        fputc('\n', m_pStream);
    m_bShown = 0;
    m_nLastPercent = -1;
}

} // namespace KwSDK
