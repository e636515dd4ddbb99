// Named string values: a string-to-string map with typed access by key.
#ifndef KWSDK_KWPARAM_H
#define KWSDK_KWPARAM_H

#include "KwString.h"
#include "TKwMap.h"

namespace KwSDK {

// Keys and values may be given as KwString or as zero-terminated texts; a
// null text stands for an empty one.
class KwParam : public TKwMap<KwString, KwString> {
public:
    KwParam();
    KwParam(const KwParam& other);
    KwParam& operator=(const KwParam& other);
    ~KwParam() override;

    // Setting always replaces: the key is removed, then the value inserted.
    // Answers the insert result (1, or 0 when memory ran out).
    virtual int SetString(const KwString& key, const char* value);
    virtual int SetString(const char* key, const char* value);
    virtual int SetString(const char* key, const KwString& value);
    virtual int SetString(const KwString& key, const KwString& value);
    // Copies the value into a caller buffer of size bytes, cut to size - 1 bytes
    // and always terminated. 0 if the buffer is null, the size is not positive
    // or the key is absent.
    virtual int GetString(const char* key, char* buffer, int size) const;
    virtual int GetString(const KwString& key, char* buffer, int size) const;
    // Copies the value into a string; 1 if found.
    virtual int GetString(const char* key, KwString& value) const;
    virtual int GetString(const KwString& key, KwString& value) const;
    // The value, or the default when the key is absent.
    virtual KwString GetString(const KwString& key, const char* defaultValue) const;
    virtual KwString GetString(const char* key, const KwString& defaultValue) const;
    virtual KwString GetString(const char* key, const char* defaultValue) const;
    virtual KwString GetString(const KwString& key, const KwString& defaultValue) const;
    // Takes the entry out of the map and answers its value as a number; 0 when
    // the key is absent or the value is empty. The key is gone afterwards.
    virtual int GetInt(const char* key);
    virtual int GetInt(const KwString& key);
    void RemoveAll() override;
};

} // namespace KwSDK

#endif
