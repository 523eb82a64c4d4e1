// The Windows 7 road's files on disk: the answer file byte for byte (CRLF, no final line end, page values
// escaped and in UTF-8), the kit's companion files, and the messages of each failure.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "MessageRecorder.h"
#include "TestFiles.h"
#include "wizard/SystemErrorText.h"
#include "wizard/UnattendSettings.h"
#include "wizard/Win7AnswerFiles.h"

namespace {

// "é" in the code page the page's texts arrive in.
std::string AnsiEAcute()
{
    char text[8] = {};
    WideCharToMultiByte(CP_ACP, 0, L"\u00e9", 1, text, sizeof(text), nullptr, nullptr);
    return text;
}

Win7AnswerValues SampleValues()
{
    Win7AnswerValues v;
    v.fullName = "Smith & Sons <Ren" + AnsiEAcute() + ">";
    v.organization = "A \"quoted\" 'org'";
    v.computerName = "BUILD-PC";
    v.productKey = "ABCDE-FGHIJ-KLMNO-PQRST-UVWXY";
    v.colorDepth = 32;
    v.dpi = 96;
    v.horizontalResolution = 1280;
    v.verticalResolution = 1024;
    return v;
}

std::string ExpectedXml(const Win7AnswerValues& v, const std::string& owner, const std::string& org)
{
    return FillPlaceholders(ReadGolden("autounattend.xml"), {{"KEY", v.productKey},
                                                             {"COMPUTER", v.computerName},
                                                             {"OWNER", owner},
                                                             {"ORG", org},
                                                             {"BPP", std::to_string(v.colorDepth)},
                                                             {"DPI", std::to_string(v.dpi)},
                                                             {"WIDTH", std::to_string(v.horizontalResolution)},
                                                             {"HEIGHT", std::to_string(v.verticalResolution)}});
}

void FillSettings(CUnattendSettings& settings, const Win7AnswerValues& v)
{
    settings.TakePageValues(v.fullName, v.organization, v.computerName, v.productKey);
}

}  // namespace

TEST(Win7AnswerFiles, AnswerFileEscapesAndEncodesThePageValues)
{
    const Win7AnswerValues values = SampleValues();
    const std::string text = ComposeAutounattendXml(values);
    // The file is written in text mode: compare after the line ends it will get.
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(crlf,
              ExpectedXml(values, "Smith &amp; Sons &lt;Ren\xC3\xA9&gt;", "A &quot;quoted&quot; &apos;org&apos;"));
}

TEST(Win7AnswerFiles, WithoutKitOnlyTheAnswerFileIsWritten)
{
    TempFolder dist;
    CUnattendSettings settings;
    const Win7AnswerValues values = SampleValues();
    FillSettings(settings, values);
    MessageRecorder messages;

    ASSERT_TRUE(WriteWin7Distribution(nullptr, dist.Path().c_str(), "", settings));
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(ListTree(dist.Path()), std::vector<std::string>{"autounattend.xml"});

    const Win7AnswerValues machine = CollectWin7AnswerValues(settings);
    EXPECT_EQ(machine.horizontalResolution, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_GT(machine.colorDepth, 0);
    EXPECT_GT(machine.dpi, 0);
    const auto written = ReadFileBytes(dist / "autounattend.xml");
    ASSERT_TRUE(written);
    EXPECT_EQ(*written,
              ExpectedXml(machine, "Smith &amp; Sons &lt;Ren\xC3\xA9&gt;", "A &quot;quoted&quot; &apos;org&apos;"));
}

TEST(Win7AnswerFiles, WithKitWritesCompanionFilesAndReplacesOldOnes)
{
    TempFolder dist, kit;
    WriteFileBytes(kit / "corvane_player.exe", "player");
    MakeFolder(kit / "packages");
    WriteFileBytes(kit / "packages\\office.cvp", "package");
    WriteFileBytes(kit / ".hidden", "dot");
    CUnattendSettings settings;
    FillSettings(settings, SampleValues());
    MessageRecorder messages;

    // The second run meets every folder and file of the first: folders are accepted, files replaced.
    WriteFileBytes(dist / "settings.reg", "old");
    for (int run = 0; run < 2; ++run)
    {
        SCOPED_TRACE(run);
        ASSERT_TRUE(WriteWin7Distribution(nullptr, dist.Path().c_str(), kit.Path().c_str(), settings));
        EXPECT_TRUE(messages.Messages().empty());
        EXPECT_EQ(ReadFileBytes(dist / "software\\corvane\\corvane_player.exe"), std::optional<std::string>("player"));
        EXPECT_EQ(ReadFileBytes(dist / "software\\corvane\\packages\\office.cvp"),
                  std::optional<std::string>("package"));
        EXPECT_EQ(ReadFileBytes(dist / "software\\corvane\\.hidden"), std::optional<std::string>("dot"));
        EXPECT_EQ(ReadFileBytes(dist / "SOURCES\\$OEM$\\$$\\SETUP\\SCRIPTS\\setupcomplete.cmd"),
                  std::optional<std::string>(ReadGolden("setupcomplete.cmd")));
        EXPECT_EQ(ReadFileBytes(dist / "settings.reg"), std::optional<std::string>(ReadGolden("settings.reg")));
        EXPECT_EQ(ReadFileBytes(dist / "DriversRoot.txt"), std::optional<std::string>("CD/DVD"));
    }
}

TEST(Win7AnswerFiles, FailuresShowTheirMessageAndStop)
{
    CUnattendSettings settings;
    FillSettings(settings, SampleValues());

    {
        TempFolder parent;
        const std::string dist = parent / "missing";
        MessageRecorder messages;
        EXPECT_FALSE(WriteWin7Distribution(nullptr, dist.c_str(), "", settings));
        ASSERT_EQ(messages.Messages().size(), 1u);
        const RecordedMessage& m = messages.Messages()[0];
        EXPECT_EQ(m.text,
                  "Error with file " + dist + "\\autounattend.xml. " + GetSystemErrorText(ERROR_PATH_NOT_FOUND));
        EXPECT_EQ(m.caption, "Taleno Corvane");
        EXPECT_EQ(m.type, static_cast<UINT>(MB_ICONERROR));
    }
    {
        // A file where the kit's folder must be: nothing after the folder is written.
        TempFolder dist, kit;
        WriteFileBytes(kit / "corvane_player.exe", "player");
        WriteFileBytes(dist / "software", "in the way");
        MessageRecorder messages;
        EXPECT_FALSE(WriteWin7Distribution(nullptr, dist.Path().c_str(), kit.Path().c_str(), settings));
        ASSERT_EQ(messages.Messages().size(), 1u);
        EXPECT_EQ(
            messages.Messages()[0].text.rfind("Error creating folder " + dist.Path() + "\\software\\corvane. ", 0), 0u)
            << messages.Messages()[0].text;
        EXPECT_EQ(messages.Messages()[0].caption, "Taleno Corvane");
        EXPECT_EQ(ListTree(dist.Path()), (std::vector<std::string>{"autounattend.xml", "software"}));
    }
    {
        // A folder where a file must be written.
        TempFolder dist, kit;
        WriteFileBytes(kit / "corvane_player.exe", "player");
        MakeFolder(dist / "DriversRoot.txt");
        MessageRecorder messages;
        EXPECT_FALSE(WriteWin7Distribution(nullptr, dist.Path().c_str(), kit.Path().c_str(), settings));
        ASSERT_EQ(messages.Messages().size(), 1u);
        EXPECT_EQ(messages.Messages()[0].text.rfind("Error with file " + dist.Path() + "\\DriversRoot.txt. ", 0), 0u)
            << messages.Messages()[0].text;
        EXPECT_FALSE(FileExists(dist / "settings.reg"));
    }
}
