// Tests of the named string values.
#include "KwParam.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace KwSDK;

TEST(KwParam, TypeNameChain)
{
    KwParam param;
    EXPECT_STREQ("KwObject.TKwMap.KwParam", param.GetTypeName());
    KwParam copy(param);
    EXPECT_STREQ("KwObject.TKwMap.KwParam", copy.GetTypeName());
}

TEST(KwParam, SetStringReplacesInEveryForm)
{
    KwParam param;
    KwString key("Font");
    EXPECT_EQ(1, param.SetString("Font", "SimSun"));
    EXPECT_EQ(1, param.SetString(key, "Tahoma"));
    EXPECT_STREQ("Tahoma", param.GetString("Font", "").GetText());
    EXPECT_EQ(1, param.SetString("Font", KwString("Arial")));
    EXPECT_STREQ("Arial", param.GetString(key, "").GetText());
    EXPECT_EQ(1, param.SetString(key, KwString("Verdana")));
    EXPECT_STREQ("Verdana", param.GetString(key, KwString()).GetText());
    EXPECT_EQ(1, param.GetCount());
}

TEST(KwParam, GetStringIntoABuffer)
{
    KwParam param;
    param.SetString("Name", "Carton");
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(0, param.GetString("Name", nullptr, 8));
    EXPECT_EQ(0, param.GetString("Name", buffer, 0));
    EXPECT_EQ(0, param.GetString("Name", buffer, -1));
    EXPECT_EQ(0, param.GetString("Missing", buffer, 8));
    EXPECT_EQ(1, param.GetString("Name", buffer, 8));
    EXPECT_STREQ("Carton", buffer);
    EXPECT_EQ(1, param.GetString(KwString("Name"), buffer, 4));
    EXPECT_STREQ("Car", buffer);
    EXPECT_EQ(1, param.GetString("Name", buffer, 1));
    EXPECT_STREQ("", buffer);
}

TEST(KwParam, GetStringIntoAString)
{
    KwParam param;
    param.SetString("Name", "Carton");
    KwString value("unchanged");
    EXPECT_EQ(0, param.GetString("Missing", value));
    EXPECT_STREQ("unchanged", value.GetText());
    EXPECT_EQ(1, param.GetString("Name", value));
    EXPECT_STREQ("Carton", value.GetText());
    EXPECT_EQ(1, param.GetString(KwString("Name"), value));
}

TEST(KwParam, GetStringWithDefaults)
{
    KwParam param;
    param.SetString("Name", "Carton");
    const KwString fallback("fallback");
    EXPECT_STREQ("Carton", param.GetString("Name", "d").GetText());
    EXPECT_STREQ("d", param.GetString("Missing", "d").GetText());
    EXPECT_STREQ("fallback", param.GetString("Missing", fallback).GetText());
    EXPECT_STREQ("fallback", param.GetString(KwString("Missing"), fallback).GetText());
    EXPECT_STREQ("d", param.GetString(KwString("Missing"), "d").GetText());
    EXPECT_STREQ("", param.GetString("Missing", static_cast<const char*>(nullptr)).GetText());
}

TEST(KwParam, GetIntTakesTheKeyOut)
{
    KwParam param;
    param.SetString("Width", "640");
    param.SetString("Empty", "");
    EXPECT_EQ(640, param.GetInt("Width"));
    EXPECT_EQ(0, param.ContainsKey("Width"));
    EXPECT_EQ(0, param.GetInt("Width"));
    EXPECT_EQ(0, param.GetInt(KwString("Empty")));
    EXPECT_EQ(0, param.GetInt("Missing"));
    EXPECT_EQ(1, param.IsEmpty());
}

TEST(KwParam, RemoveAllAndCopies)
{
    KwParam param;
    param.SetString("a", "1");
    param.SetString("b", "2");
    KwParam copy(param);
    KwParam assigned;
    assigned = param;
    param.RemoveAll();
    EXPECT_EQ(1, param.IsEmpty());
    EXPECT_STREQ("2", copy.GetString("b", "").GetText());
    EXPECT_STREQ("1", assigned.GetString("a", "").GetText());
}
