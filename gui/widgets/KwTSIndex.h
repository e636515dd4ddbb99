// A position in the text of a text view: row, run within the row and byte
// offset within the run.
#ifndef KWSDK_KWTSINDEX_H
#define KWSDK_KWTSINDEX_H

#include "KwObject.h"

namespace KwSDK {

// All three parts are 0 unless given. An offset equal to a run's length and
// offset 0 of the next run name the same place between characters; Compare
// orders them by their parts, so the first comes before the second.
class KwTSIndex : public virtual KwObject {
public:
    KwTSIndex();
    KwTSIndex(int row, int run, int offset);
    KwTSIndex(const KwTSIndex& other);
    KwTSIndex& operator=(const KwTSIndex& other);

    // A new index with the same parts and one reference, or null.
    KwTSIndex* Clone() const override;

    virtual int GetRow() const;
    virtual int GetRun() const;
    virtual int GetOffset() const;
    virtual void Set(int row, int run, int offset);
    // Negative, 0 or positive as this index lies before, at or after the
    // other one (row first, then run, then offset).
    virtual int Compare(const KwTSIndex& other) const;

private:
    int m_nRow;
    int m_nRun;
    int m_nOffset;
};

} // namespace KwSDK

#endif
