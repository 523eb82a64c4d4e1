// The five product-key boxes in a page-like dialog: typing moves on, pasting spreads a key, the clipboard is left
// as it was.
#include "ControlsTestResources.h"
#include "ControlsTestSupport.h"
#include "resource.h"
#include "wizard/controls/ProductKeyEdit.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>

using namespace osm::test;

namespace {

constexpr std::array<int, 5> kKeyBoxIds = {IDC_KEY1, IDC_KEY2, IDC_KEY3, IDC_KEY4, IDC_KEY5};

class ProductKeyEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.Open());
        for (size_t i = 0; i < m_boxes.size(); ++i)
        {
            ASSERT_TRUE(m_boxes[i].SubclassDlgItem(kKeyBoxIds[i], &m_host));
            m_boxes[i].LimitText(CProductKeyEdit::kGroupLength);
        }
        // Chained the way the page does it: each box knows the one to its right, the last none.
        for (size_t i = 0; i + 1 < m_boxes.size(); ++i)
            m_boxes[i].SetNextEdit(m_boxes[i + 1].m_hWnd);
    }

    std::array<std::string, 5> Texts() const
    {
        std::array<std::string, 5> texts;
        for (size_t i = 0; i < m_boxes.size(); ++i)
            texts[i] = WindowText(m_boxes[i].m_hWnd);
        return texts;
    }

    void Fill(const std::array<const char*, 5>& texts)
    {
        for (size_t i = 0; i < m_boxes.size(); ++i)
            ::SetWindowTextA(m_boxes[i].m_hWnd, texts[i]);
    }

    int FocusedBox() const
    {
        for (size_t i = 0; i < m_boxes.size(); ++i)
            if (::GetFocus() == m_boxes[i].m_hWnd)
                return static_cast<int>(i);
        return -1;
    }

    HostDialog m_host{IDD_CONTROLS_HOST};
    std::array<CProductKeyEdit, 5> m_boxes;
};

TEST_F(ProductKeyEditTest, TypingTheFifthCharacterMovesTheFocusOn)
{
    m_boxes[0].SetFocus();
    for (char c : std::string("ABCD"))
        m_boxes[0].SendMessage(WM_CHAR, static_cast<WPARAM>(c), 1);
    EXPECT_EQ(0, FocusedBox()) << "four characters keep the focus";
    m_boxes[0].SendMessage(WM_CHAR, 'E', 1);
    EXPECT_EQ(1, FocusedBox());
    EXPECT_EQ("ABCDE", WindowText(m_boxes[0].m_hWnd));

    // Deleting one and typing it again moves on again.
    m_boxes[0].SetFocus();
    m_boxes[0].SetSel(5, 5);
    m_boxes[0].SendMessage(WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(0, FocusedBox());
    m_boxes[0].SendMessage(WM_CHAR, 'E', 1);
    EXPECT_EQ(1, FocusedBox());
}

TEST_F(ProductKeyEditTest, TheLastBoxKeepsTheFocus)
{
    m_boxes[4].SetFocus();
    for (char c : std::string("VWXYZ"))
        m_boxes[4].SendMessage(WM_CHAR, static_cast<WPARAM>(c), 1);
    EXPECT_EQ("VWXYZ", WindowText(m_boxes[4].m_hWnd));
    EXPECT_EQ(4, FocusedBox());
}

struct PasteCase
{
    const char* name;
    const char* clipboardText;  // null: the clipboard holds no text
    int box;                    // pasted into
    std::array<const char*, 5> expected;
    int focusAfter;
};

const std::array<const char*, 5> kBefore = {"11111", "22222", "33333", "44444", "55555"};

const PasteCase kPasteCases[] = {
    {"dashed", "ABCDE-FGHIJ-KLMNO-PQRST-UVWXY", 0, {"ABCDE", "FGHIJ", "KLMNO", "PQRST", "UVWXY"}, 4},
    {"plain 25 characters", "ABCDEFGHIJKLMNOPQRSTUVWXY", 0, {"ABCDE", "FGHIJ", "KLMNO", "PQRST", "UVWXY"}, 4},
    {"line breaks", "ABCDE-FGHIJ\r\nKLMNO-\nPQRST\r\n-UVWXY\r\n", 0, {"ABCDE", "FGHIJ", "KLMNO", "PQRST", "UVWXY"}, 4},
    {"blanks, tabs and several dashes",
     " ABCDE -- FGHIJ\tKLMNO---PQRST UVWXY ",
     0,
     {"ABCDE", "FGHIJ", "KLMNO", "PQRST", "UVWXY"},
     4},
    {"into the third box", "ABCDE-FGHIJ-KLMNO-PQRST-UVWXY", 2, {"11111", "22222", "ABCDE", "FGHIJ", "KLMNO"}, 4},
    {"into the last box", "ABCDE-FGHIJ", 4, {"11111", "22222", "33333", "44444", "ABCDE"}, 4},
    {"short paste clears the later boxes", "AB3", 0, {"AB3", "", "", "", ""}, 0},
    {"one and a half groups", "ABCDE-FG", 1, {"11111", "ABCDE", "FG", "", ""}, 2},
    {"longer than a key", "ABCDE-FGHIJ-KLMNO-PQRST-UVWXY-EXTRA", 0, {"ABCDE", "FGHIJ", "KLMNO", "PQRST", "UVWXY"}, 4},
    {"no text on the clipboard", nullptr, 3, {"11111", "22222", "33333", "", ""}, 3},
};

TEST_F(ProductKeyEditTest, PastingSpreadsTheKeyOverTheBoxAndTheOnesAfterIt)
{
    for (const PasteCase& c : kPasteCases)
    {
        SCOPED_TRACE(c.name);
        Fill(kBefore);
        ASSERT_TRUE(FillClipboard(c.clipboardText, c.clipboardText ? 0 : CF_DIB, c.clipboardText ? "" : "x"));
        m_boxes[c.box].SetFocus();
        m_boxes[c.box].SendMessage(WM_PASTE);
        const auto texts = Texts();
        for (size_t i = 0; i < texts.size(); ++i)
            EXPECT_EQ(c.expected[i], texts[i]) << "box " << i + 1;
        EXPECT_EQ(c.focusAfter, FocusedBox());
    }
}

TEST_F(ProductKeyEditTest, CtrlVFromTheKeyboardSpreadsTheKey)
{
    ASSERT_TRUE(FillClipboard("QWERT-YUIOP-ASDFG-HJKLZ-XCVBN"));
    m_boxes[0].SetFocus();
    PressKeys({VK_CONTROL, 'V'});
    const std::array<std::string, 5> expected = {"QWERT", "YUIOP", "ASDFG", "HJKLZ", "XCVBN"};
    EXPECT_EQ(expected, Texts());
    EXPECT_EQ(4, FocusedBox());
}

TEST_F(ProductKeyEditTest, ThePasteLeavesTheClipboardAsItWas)
{
    const UINT ownFormat = ::RegisterClipboardFormatA("Osmira controls test data");
    const std::string ownData("\x01\x02key-data\x03", 12);
    const char* key = "ABCDE-FGHIJ-KLMNO-PQRST-UVWXY\r\n";
    ASSERT_TRUE(FillClipboard(key, ownFormat, ownData));

    m_boxes[0].SendMessage(WM_PASTE);
    m_boxes[2].SendMessage(WM_PASTE);

    std::string text;
    ASSERT_TRUE(GetClipboardTextOf(text));
    EXPECT_EQ(key, text);
    EXPECT_EQ(ownData, GetClipboardFormatData(ownFormat).substr(0, ownData.size()));
    EXPECT_TRUE(::IsClipboardFormatAvailable(ownFormat));
}

TEST_F(ProductKeyEditTest, AClipboardHeldElsewhereChangesNoBox)
{
    Fill(kBefore);
    ASSERT_TRUE(FillClipboard("ABCDE-FGHIJ-KLMNO-PQRST-UVWXY"));

    // Another thread keeps the clipboard open while the box is asked to paste.
    HANDLE opened = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        const BOOL open = ::OpenClipboard(nullptr);
        ::SetEvent(opened);
        ::WaitForSingleObject(release, 5000);
        if (open)
            ::CloseClipboard();
    });
    ::WaitForSingleObject(opened, 5000);
    m_boxes[0].SendMessage(WM_PASTE);
    ::SetEvent(release);
    holder.join();
    ::CloseHandle(opened);
    ::CloseHandle(release);

    const auto texts = Texts();
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(kBefore[i], texts[i]) << "box " << i + 1;
}

TEST_F(ProductKeyEditTest, APasteCanBeUndoneInTheBoxPastedInto)
{
    Fill(kBefore);
    ASSERT_TRUE(FillClipboard("ABCDE-FGHIJ"));
    m_boxes[0].SendMessage(WM_PASTE);
    ASSERT_EQ("ABCDE", WindowText(m_boxes[0].m_hWnd));
    m_boxes[0].Undo();
    EXPECT_EQ("11111", WindowText(m_boxes[0].m_hWnd));
}

TEST(ProductKeySeparatorsTest, OnlyDashesBlanksAndLineBreaksAreDropped)
{
    struct Case
    {
        const char* text;
        const char* key;
    } cases[] = {
        {"AB-CD EF\tGH\r\nIJ\vK\fL", "ABCDEFGHIJKL"},
        {"----", ""},
        {"A_B.C+D", "A_B.C+D"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.key, CProductKeyEdit::RemoveKeySeparators(c.text)) << c.text;
}

}  // namespace
