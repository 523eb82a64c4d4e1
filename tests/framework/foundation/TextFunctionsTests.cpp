// Mnemonics taken out of captions, and the fonts the machine has.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "classlib/CString.h"
#include "framework/foundation/OSVersionInfo.h"
#include "framework/foundation/TextFunctions.h"

namespace {

struct MnemonicCase
{
    const char* text;
    const char* stripped;
};
const MnemonicCase kMnemonics[] = {
    {"&&", "&"},
    {"&File", "File"},
    {"Save&", "Save"},
    {"a&&b&c", "a&bc"},
    {"&", ""},
    {"", ""},
    {"Plain text", "Plain text"},
    {"Fish && &Chips", "Fish & Chips"},
};

// The faces the machine reports, as the system enumerates them.
std::vector<std::string> InstalledFaces()
{
    std::vector<std::string> faces;
    LOGFONTA all{};
    all.lfCharSet = DEFAULT_CHARSET;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(
        screen, &all,
        [](const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM list) -> int {
            reinterpret_cast<std::vector<std::string>*>(list)->push_back(font->lfFaceName);
            return 1;
        },
        reinterpret_cast<LPARAM>(&faces), 0);
    ReleaseDC(nullptr, screen);
    return faces;
}

}  // namespace

TEST(TextFunctions, MnemonicsAreRemovedAndDoubledAmpersandsKeepOne)
{
    for (const MnemonicCase& c : kMnemonics)
    {
        CString text = c.text;
        StripMnemonics(text);
        EXPECT_STREQ(static_cast<LPCSTR>(text), c.stripped) << c.text;

        std::vector<char> buffer(c.text, c.text + strlen(c.text) + 1);
        StripMnemonicsInPlace(buffer.data());
        EXPECT_STREQ(buffer.data(), c.stripped) << c.text;
    }
    // Neither a null buffer nor the value -1 is touched.
    StripMnemonicsInPlace(nullptr);
    StripMnemonicsInPlace(reinterpret_cast<char*>(-1));
}

TEST(TextFunctions, FontExistsFindsInstalledFacesWhateverTheCase)
{
    const std::vector<std::string> faces = InstalledFaces();
    ASSERT_FALSE(faces.empty());
    for (const std::string& face : {faces.front(), faces.back()})
    {
        EXPECT_TRUE(FontExists(face.c_str())) << face;
        std::string upper = face, lower = face;
        CharUpperA(upper.data());
        CharLowerA(lower.data());
        EXPECT_TRUE(FontExists(upper.c_str())) << upper;
        EXPECT_TRUE(FontExists(lower.c_str())) << lower;
    }
    EXPECT_FALSE(FontExists("Osmira No Such Face"));
    EXPECT_FALSE(FontExists(""));
    EXPECT_FALSE(FontExists(nullptr));
}

TEST(TextFunctions, DefaultFontNameFollowsWhatIsInstalled)
{
    LOGFONTA system{};
    ASSERT_NE(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(system), &system), 0);
    const bool systemFaceWins = system.lfCharSet > SYMBOL_CHARSET && GetOSVersionInfo()->IsWin2KOrGreater() &&
                                lstrcmpiA(system.lfFaceName, "MS Shell Dlg") != 0;
    const bool arial = FontExists("Arial") != FALSE, tahoma = FontExists("Tahoma") != FALSE;
    for (BOOL preferTahoma : {TRUE, FALSE})
    {
        std::string expected = system.lfFaceName;
        if (!systemFaceWins && arial)
            expected = preferTahoma && tahoma ? "Tahoma" : "Arial";
        EXPECT_STREQ(static_cast<LPCSTR>(GetDefaultFontName(preferTahoma)), expected.c_str())
            << "prefer Tahoma " << preferTahoma << ", Arial " << arial << ", Tahoma " << tahoma;
    }
}
