#include "framework/foundation/LanguageInfo.h"

namespace {

// English (United States) keeps code page 0, the system's own: a program in English converts with whatever the
// machine uses. "Ukrainian " ends in a blank, as the name has always been stored.
const OSM_LANGUAGE_INFO kLanguages[] = {
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

}  // namespace

const OSM_LANGUAGE_INFO* GetLanguageInfo(WORD wLanguage)
{
    for (const OSM_LANGUAGE_INFO& info : kLanguages)
    {
        if (info.wLanguage == wLanguage)
            return &info;
    }
    return nullptr;
}

const OSM_LANGUAGE_INFO* GetLanguageInfoTable(int* pnCount)
{
    if (pnCount)
        *pnCount = static_cast<int>(sizeof(kLanguages) / sizeof(kLanguages[0]));
    return kLanguages;
}
