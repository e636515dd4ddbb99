// A position in the text of a text view.
#include "KwTSIndex.h"

namespace KwSDK {

KwTSIndex::KwTSIndex() : m_nRow(0), m_nRun(0), m_nOffset(0)
{
    AppendTypeName("KwTSIndex");
}

KwTSIndex::KwTSIndex(int row, int run, int offset) : m_nRow(row), m_nRun(run), m_nOffset(offset)
{
    AppendTypeName("KwTSIndex");
}

KwTSIndex::KwTSIndex(const KwTSIndex& other)
    : KwObject(), m_nRow(other.m_nRow), m_nRun(other.m_nRun), m_nOffset(other.m_nOffset)
{
    AppendTypeName("KwTSIndex");
}

KwTSIndex& KwTSIndex::operator=(const KwTSIndex& other)
{
    m_nRow = other.m_nRow;
    m_nRun = other.m_nRun;
    m_nOffset = other.m_nOffset;
    return *this;
}

KwTSIndex* KwTSIndex::Clone() const
{
    return KwCloneOf(*this);
}

int KwTSIndex::GetRow() const
{
    return m_nRow;
}

int KwTSIndex::GetRun() const
{
    return m_nRun;
}

int KwTSIndex::GetOffset() const
{
    return m_nOffset;
}

void KwTSIndex::Set(int row, int run, int offset)
{
    m_nRow = row;
    m_nRun = run;
    m_nOffset = offset;
}

int KwTSIndex::Compare(const KwTSIndex& other) const
{
    if (m_nRow != other.m_nRow) {
        return m_nRow < other.m_nRow ? -1 : 1;
    }
    if (m_nRun != other.m_nRun) {
        return m_nRun < other.m_nRun ? -1 : 1;
    }
    if (m_nOffset != other.m_nOffset) {
        return m_nOffset < other.m_nOffset ? -1 : 1;
    }
    return 0;
}

} // namespace KwSDK
