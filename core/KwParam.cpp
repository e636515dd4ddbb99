// Typed access to a string-to-string map; the value store of properties files.
#include "KwParam.h"

#include <cstring>

namespace KwSDK {

KwParam::KwParam()
{
    AppendTypeName("KwParam");
}

KwParam::KwParam(const KwParam& other)
    : KwObject(), TKwMap<KwString, KwString>(other)
{
    AppendTypeName("KwParam");
}

KwParam& KwParam::operator=(const KwParam& other)
{
    TKwMap<KwString, KwString>::operator=(other);
    return *this;
}

KwParam::~KwParam()
{
}

int KwParam::SetString(const KwString& key, const char* value)
{
    return SetString(key, KwString(value));
}

int KwParam::SetString(const char* key, const char* value)
{
    return SetString(KwString(key), KwString(value));
}

int KwParam::SetString(const char* key, const KwString& value)
{
    return SetString(KwString(key), value);
}

int KwParam::SetString(const KwString& key, const KwString& value)
{
    RemoveKey(key);
    return SetAt(key, value);
}

int KwParam::GetString(const char* key, char* buffer, int size) const
{
    return GetString(KwString(key), buffer, size);
}

int KwParam::GetString(const KwString& key, char* buffer, int size) const
{
    if (!buffer || size <= 0)
        return 0;
    KwString value;
    if (!Lookup(key, value))
        return 0;
    int count = value.GetLength() < size - 1 ? value.GetLength() : size - 1;
    if (count > 0)
        memcpy(buffer, value.GetText(), static_cast<size_t>(count));
    buffer[count] = '\0';
    return 1;
}

int KwParam::GetString(const char* key, KwString& value) const
{
    return Lookup(KwString(key), value);
}

int KwParam::GetString(const KwString& key, KwString& value) const
{
    return Lookup(key, value);
}

KwString KwParam::GetString(const KwString& key, const char* defaultValue) const
{
    return GetString(key, KwString(defaultValue));
}

KwString KwParam::GetString(const char* key, const KwString& defaultValue) const
{
    return GetString(KwString(key), defaultValue);
}

KwString KwParam::GetString(const char* key, const char* defaultValue) const
{
    return GetString(KwString(key), KwString(defaultValue));
}

KwString KwParam::GetString(const KwString& key, const KwString& defaultValue) const
{
    KwString value;
    if (Lookup(key, value))
        return value;
    return defaultValue;
}

int KwParam::GetInt(const char* key)
{
    return GetInt(KwString(key));
}

int KwParam::GetInt(const KwString& key)
{
    return RemoveKey(key).ToInt();
}

void KwParam::RemoveAll()
{
    TKwMap<KwString, KwString>::RemoveAll();
}

} // namespace KwSDK
