// The resource language: the 35-language table (checked against the system's own locale data too), the
// language a module's resources are in, and what the language does to message boxes, text conversion, menu
// texts and font charsets.
#include <gtest/gtest.h>

#include "classlib/Menu.h"
#include "ResourceTestSupport.h"
#include "framework/foundation/AnsiToWideString.h"
#include "framework/foundation/IconLogFont.h"

#include <cstring>
#include <string>
#include <vector>

using namespace foundation_test;

namespace {

struct Row
{
    WORD id;
    UINT codePage;
    const char* encoding;
    const char* name;
    const char* lang;
    const char* subLang;
    BYTE charset;
};

// In the table's order.
const Row kExpected[] = {
    {1049, 1251, "windows-1251", "Russian", "LANG_RUSSIAN", "SUBLANG_DEFAULT", 204},
    {1041, 932, "shift-jis", "Japanese", "LANG_JAPANESE", "SUBLANG_DEFAULT", 128},
    {1025, 1256, "windows-1256", "Arabic (Saudi Arabia)", "LANG_ARABIC", "SUBLANG_ARABIC_SAUDI_ARABIA", 178},
    {1029, 1250, "windows-1250", "Czech", "LANG_CZECH", "SUBLANG_DEFAULT", 238},
    {1030, 1252, "windows-1252", "Danish", "LANG_DANISH", "SUBLANG_DEFAULT", 0},
    {1031, 1252, "windows-1252", "German (Germany)", "LANG_GERMAN", "SUBLANG_GERMAN", 0},
    {1032, 1253, "windows-1253", "Greek", "LANG_GREEK", "SUBLANG_DEFAULT", 161},
    {1033, 0, "windows-1252", "English (United States)", "LANG_ENGLISH", "SUBLANG_ENGLISH_US", 0},
    {3082, 1252, "windows-1252", "Spanish (Spain - Modern Sort)", "LANG_SPANISH", "SUBLANG_SPANISH_MODERN", 0},
    {1061, 1257, "windows-1257", "Estonian", "LANG_ESTONIAN", "SUBLANG_DEFAULT", 186},
    {1035, 1252, "windows-1252", "Finnish", "LANG_FINNISH", "SUBLANG_DEFAULT", 0},
    {1036, 1252, "windows-1252", "French (France)", "LANG_FRENCH", "SUBLANG_FRENCH", 0},
    {1037, 1255, "windows-1255", "Hebrew", "LANG_HEBREW", "SUBLANG_DEFAULT", 177},
    {1050, 1250, "windows-1250", "Croatian", "LANG_CROATIAN", "SUBLANG_DEFAULT", 238},
    {1038, 1250, "windows-1250", "Hungarian", "LANG_HUNGARIAN", "SUBLANG_DEFAULT", 238},
    {1040, 1252, "windows-1252", "Italian (Italy)", "LANG_ITALIAN", "SUBLANG_ITALIAN", 0},
    {1042, 949, "ks_c_5601", "Korean", "LANG_KOREAN", "SUBLANG_DEFAULT", 129},
    {1063, 1257, "windows-1257", "Lithuanian", "LANG_LITHUANIAN", "SUBLANG_LITHUANIAN", 186},
    {1062, 1257, "windows-1257", "Latvian", "LANG_LATVIAN", "SUBLANG_DEFAULT", 186},
    {1043, 1252, "windows-1252", "Dutch", "LANG_DUTCH", "SUBLANG_DUTCH", 0},
    {1044, 1252, "windows-1252", "Norwegian (Bokmal)", "LANG_NORWEGIAN", "SUBLANG_NORWEGIAN_BOKMAL", 0},
    {1045, 1250, "windows-1250", "Polish", "LANG_POLISH", "SUBLANG_DEFAULT", 238},
    {2070, 1252, "windows-1252", "Portuguese (Portugal)", "LANG_PORTUGUESE", "SUBLANG_PORTUGUESE", 0},
    {1046, 1252, "windows-1252", "Portuguese (Brazil)", "LANG_PORTUGUESE", "SUBLANG_PORTUGUESE_BRAZILIAN", 0},
    {1048, 1250, "windows-1250", "Romanian", "LANG_ROMANIAN", "SUBLANG_DEFAULT", 238},
    {2074, 1250, "windows-1250", "Serbian", "LANG_SERBIAN", "SUBLANG_SERBIAN_LATIN", 238},
    {1051, 1250, "windows-1250", "Slovak", "LANG_SLOVAK", "SUBLANG_DEFAULT", 238},
    {1060, 1250, "windows-1250", "Slovenian", "LANG_SLOVENIAN", "SUBLANG_DEFAULT", 238},
    {1053, 1252, "windows-1252", "Swedish", "LANG_SWEDISH", "SUBLANG_DEFAULT", 0},
    {1054, 874, "windows-874", "Thai", "LANG_THAI", "SUBLANG_DEFAULT", 222},
    {1055, 1254, "windows-1254", "Turkish", "LANG_TURKISH", "SUBLANG_DEFAULT", 162},
    {1058, 1251, "windows-1251", "Ukrainian ", "LANG_UKRAINIAN", "SUBLANG_DEFAULT", 204},
    {1026, 1251, "windows-1251", "Bulgarian", "LANG_BULGARIAN", "SUBLANG_DEFAULT", 204},
    {2052, 936, "gb2312", "Chinese (PRC)", "LANG_CHINESE", "SUBLANG_CHINESE_SIMPLIFIED", 134},
    {1028, 950, "big5", "Chinese (Taiwan)", "LANG_CHINESE", "SUBLANG_CHINESE_TRADITIONAL", 136},
};

BYTE SystemIconTitleCharset()
{
    LOGFONTA lf{};
    ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0);
    return lf.lfCharSet;
}

// Records the message boxes instead of showing them.
class CRecordingManager : public COSMResourceManager
{
public:
    struct Box
    {
        std::string text;
        UINT type;
        UINT help;
    };
    std::vector<Box> m_boxes;

protected:
    int DoMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp) override
    {
        m_boxes.push_back({lpszText ? lpszText : "(null)", nType, nIDHelp});
        return IDCANCEL;
    }
};

}  // namespace

TEST(LanguageTable, HoldsTheThirtyFiveLanguagesInOrder)
{
    int count = 0;
    const OSM_LANGUAGE_INFO* pTable = GetLanguageInfoTable(&count);
    ASSERT_EQ(count, 35);
    ASSERT_EQ(sizeof(kExpected) / sizeof(kExpected[0]), 35u);
    for (int i = 0; i < count; ++i)
    {
        const Row& row = kExpected[i];
        const OSM_LANGUAGE_INFO* pInfo = GetLanguageInfo(row.id);
        ASSERT_EQ(pInfo, &pTable[i]) << row.id;
        EXPECT_EQ(pInfo->nCodePage, row.codePage) << row.id;
        EXPECT_STREQ(pInfo->lpszEncoding, row.encoding) << row.id;
        EXPECT_STREQ(pInfo->lpszCaption, row.name) << row.id;
        EXPECT_STREQ(pInfo->lpszLang, row.lang) << row.id;
        EXPECT_STREQ(pInfo->lpszSubLang, row.subLang) << row.id;
        EXPECT_EQ(pInfo->nFontCharSet, row.charset) << row.id;
    }
    for (WORD absent : {0, 1034, 2057, 0xFFFF})
        EXPECT_EQ(GetLanguageInfo(absent), nullptr) << absent;
}

TEST(LanguageTable, AgreesWithTheSystemsLocaleData)
{
    int count = 0;
    const OSM_LANGUAGE_INFO* pTable = GetLanguageInfoTable(&count);
    for (int i = 0; i < count; ++i)
    {
        const OSM_LANGUAGE_INFO& info = pTable[i];
        // English (United States) deliberately keeps code page 0; its charset is still Western's.
        const UINT codePage = info.nCodePage ? info.nCodePage : 1252;
        if (info.nCodePage)
        {
            // Serbian (Latin) of Serbia and Montenegro is known to newer systems only as Serbian (Latin, Serbia).
            const WORD locale = info.wLanguage == 2074 ? 0x241A : info.wLanguage;
            char value[8] = {};
            ASSERT_GT(
                ::GetLocaleInfoA(MAKELCID(locale, SORT_DEFAULT), LOCALE_IDEFAULTANSICODEPAGE, value, sizeof(value)), 0)
                << info.wLanguage;
            EXPECT_EQ(static_cast<UINT>(std::stoul(value)), info.nCodePage) << info.wLanguage;
        }
        CHARSETINFO charset{};
        ASSERT_TRUE(::TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(codePage)), &charset,
                                           TCI_SRCCODEPAGE))
            << info.wLanguage;
        EXPECT_EQ(charset.ciCharset, info.nFontCharSet) << info.wLanguage;
    }
}

TEST(ResourceLanguage, UnknownLanguagesSelectEnglish)
{
    COSMResourceManager manager;
    EXPECT_EQ(manager.GetResourcesLangID(), 1033);
    EXPECT_EQ(manager.GetCodePage(), 0u);
    struct Case
    {
        WORD asked;
        WORD selected;
        UINT codePage;
    };
    const Case cases[] = {{1049, 1049, 1251}, {1034, 1033, 0}, {1028, 1028, 950}, {0, 1033, 0}, {2057, 1033, 0}};
    for (const Case& c : cases)
    {
        manager.SetResourceLanguage(1041);
        manager.SetResourceLanguage(c.asked);
        EXPECT_EQ(manager.GetResourcesLangID(), c.selected) << c.asked;
        EXPECT_EQ(manager.GetCodePage(), c.codePage) << c.asked;
        EXPECT_EQ(manager.GetLanguageInfo(), GetLanguageInfo(c.selected)) << c.asked;
    }
}

TEST(ResourceLanguage, AModuleReportsItsFirstLanguageOtherThanNeutralOrEnglish)
{
    TestModule english(kEnglishModule);
    TestModule german(kGermanModule);
    ASSERT_NE(english.Get(), nullptr);
    ASSERT_NE(german.Get(), nullptr);
    EXPECT_EQ(COSMResourceManager::GetModuleResourceLanguage(german.Get()), 1031);
    EXPECT_EQ(COSMResourceManager::GetModuleResourceLanguage(english.Get()), 1033);

    COSMResourceManager manager;
    struct Case
    {
        HINSTANCE module;
        WORD language;
    };
    for (const Case& c : {Case{german.Get(), 1031}, Case{english.Get(), 1033}})
    {
        FrameworkModuleScope scope(c.module);
        manager.SetResourceLanguage(1049);
        manager.UpdateResourcesLangID();
        EXPECT_EQ(manager.GetResourcesLangID(), c.language);
    }
}

TEST(ResourceLanguage, MessageBoxesReadRightToLeftForHebrewAndArabic)
{
    CRecordingManager manager;
    struct Case
    {
        WORD language;
        bool rtl;
    };
    const Case cases[] = {{1037, true}, {1025, true}, {1049, false}, {1033, false}, {1041, false}};
    for (const Case& c : cases)
    {
        manager.m_boxes.clear();
        manager.SetResourceLanguage(c.language);
        const UINT type = MB_OKCANCEL | MB_ICONEXCLAMATION;
        const UINT expectedType = type | (c.rtl ? MB_RTLREADING : 0);
        EXPECT_EQ(manager.ShowMessageBox("Delete the bar?", type), IDCANCEL);
        EXPECT_EQ(manager.ShowMessageBoxById(IDS_CONFIRM, type), IDCANCEL);
        ASSERT_EQ(manager.m_boxes.size(), 2u) << c.language;
        EXPECT_EQ(manager.m_boxes[0].text, "Delete the bar?");
        EXPECT_EQ(manager.m_boxes[1].text, "Reset the toolbar?");
        for (const auto& box : manager.m_boxes)
        {
            EXPECT_EQ(box.type, expectedType) << c.language;
            EXPECT_EQ(box.help, 0u) << c.language;
        }
    }
}

TEST(ResourceLanguage, TextIsConvertedWithTheLanguagesCodePage)
{
    {
        ProcessLanguageScope russian(1049);
        const COSMAnsiToWideString wide("\xC0\xC1");
        EXPECT_EQ(wide.GetLength(), 2);
        EXPECT_EQ(std::wstring(wide.GetWideString()), std::wstring(L"\x0410\x0411"));
    }
    {
        ProcessLanguageScope greek(1032);
        EXPECT_EQ(std::wstring(COSMAnsiToWideString("\xC1\xE1")), std::wstring(L"\x0391\x03B1"));
    }
    EXPECT_EQ(COSMAnsiToWideString(nullptr).GetLength(), 0);
    EXPECT_EQ(std::wstring(COSMAnsiToWideString("plain")), std::wstring(L"plain"));

    // A string stored as UTF-16 comes out in the language's code page.
    COSMResourceManager manager;
    manager.SetResourceLanguage(1049);
    CString text;
    EXPECT_EQ(manager.LoadStringFromModule(::GetModuleHandleA(nullptr), IDS_CYRILLIC, text), 4);
    EXPECT_STREQ(text, "\xD4\xE0\xE9\xEB");
}

TEST(ResourceLanguage, MenuTextsComeInTheLanguagesCodePage)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(::InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, ID_ITEM, L"\x0424\x0430\x0439\x043B"));  // Файл
    ASSERT_TRUE(
        ::InsertMenuW(menu, 1, MF_BYPOSITION | MF_STRING, ID_ITEM + 1, L"\x30D5\x30A1\x30A4\x30EB"));  // ファイル

    COSMResourceManager manager;
    struct Case
    {
        WORD language;
        UINT item;
        const char* bytes;
    };
    // Shift-JIS needs two bytes per katakana: more than a single-byte system code page would make room for.
    const Case cases[] = {
        {1049, ID_ITEM, "\xD4\xE0\xE9\xEB"},
        {1041, ID_ITEM + 1, "\x83\x74\x83\x40\x83\x43\x83\x8B"},
        {1058, ID_ITEM, "\xD4\xE0\xE9\xEB"},
    };
    for (const Case& c : cases)
    {
        manager.SetResourceLanguage(c.language);
        CString text;
        EXPECT_EQ(manager.GetMenuString(&menu, c.item, text, MF_BYCOMMAND), static_cast<int>(std::strlen(c.bytes)))
            << c.language;
        EXPECT_STREQ(text, c.bytes) << c.language;
    }

    CString text = "left over";
    EXPECT_EQ(manager.GetMenuString(&menu, ID_ITEM + 7, text, MF_BYCOMMAND), 0);
    EXPECT_TRUE(text.IsEmpty());
    CMenu empty;
    EXPECT_EQ(manager.GetMenuString(&empty, ID_ITEM, text, MF_BYCOMMAND), 0);
    EXPECT_EQ(manager.GetMenuString(nullptr, ID_ITEM, text, MF_BYCOMMAND), 0);
}

TEST(ResourceLanguage, FontsTakeTheLanguagesCharsetOnlyWhenSwitchedOn)
{
    const BYTE system = SystemIconTitleCharset();
    COSMResourceManager manager;
    EXPECT_EQ(manager.GetFontCharset(), system);
    manager.SetResourceLanguage(1049);
    EXPECT_EQ(manager.GetFontCharset(), system);  // a language alone changes no font
    manager.EnableLanguageCharset();
    EXPECT_EQ(manager.GetFontCharset(), 204);
    manager.SetResourceLanguage(1032);
    EXPECT_EQ(manager.GetFontCharset(), 161);
    manager.SetResourceLanguage(1033);
    EXPECT_EQ(manager.GetFontCharset(), 0);
    manager.EnableLanguageCharset(FALSE);
    EXPECT_EQ(manager.GetFontCharset(), system);
}

TEST(ResourceLanguage, TheIconTitleFontCarriesTheManagersCharset)
{
    LOGFONTA system{};
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(system), &system, 0));
    struct Case
    {
        WORD language;
        BOOL switchedOn;
        BYTE charset;
    };
    const Case cases[] = {
        {1033, FALSE, system.lfCharSet}, {1049, FALSE, system.lfCharSet}, {1049, TRUE, 204}, {1037, TRUE, 177}};
    for (const Case& c : cases)
    {
        ProcessLanguageScope language(c.language, c.switchedOn);
        LOGFONTA lf{};
        ASSERT_TRUE(GetIconLogFont(&lf));
        EXPECT_EQ(lf.lfCharSet, c.charset) << c.language;
        EXPECT_EQ(lf.lfHeight, system.lfHeight);
        EXPECT_EQ(lf.lfWeight, system.lfWeight);
        EXPECT_STREQ(lf.lfFaceName, system.lfFaceName);
    }
    EXPECT_FALSE(GetIconLogFont(nullptr));
}
