// The small controls: labels, check boxes, radio buttons, markup labels, bitmaps and hyperlinks. The factory makes
// them by Type and command id, archives rebuild them by class name, labels stay out of selection and execution,
// markup labels parse and measure their captions, bitmaps show their command's image and hyperlinks open only web
// and mail targets (others run the command). Drawing is read back from DIB sections; execution goes to a real frame.
#include "BarStreamWriter.h"
#include "tests/support/DcTestSurface.h"
#include "TrackingTestSupport.h"

#include "framework/commandbars/CommandBarList.h"
#include "framework/commandbars/CommandBarParams.h"
#include "framework/controls/ControlBitmap.h"
#include "framework/controls/ControlCheckBox.h"
#include "framework/controls/ControlHyperlink.h"
#include "framework/controls/ControlLabel.h"
#include "framework/controls/ControlMarkupLabel.h"
#include "framework/controls/ControlRadioButton.h"
#include "framework/controls/ControlWorkspaceActions.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupObject.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace commandbars_test;
using foundation_test::DcTestSurface;
using prop_exchange_test::LoadFromMemory;

namespace {

template <class Control> Control* MakeControl()
{
    return static_cast<Control*>(Control::CreateObject());
}

int CountPixels(const DcTestSurface& surface, COLORREF color)
{
    int count = 0;
    for (COLORREF pixel : surface.All())
        count += pixel == color;
    return count;
}

// ---- The factory, class names and copies --------------------------------------------------------------------

class SmallControlsFactoryTest : public SiteTest
{};

TEST_F(SmallControlsFactoryTest, TypesEightNineAndElevenAndTheWorkspaceIdMakeTheirClasses)
{
    const struct
    {
        int type;
        UINT id;
        CRuntimeClass* made;
        int storedType;
        DWORD flags;
    } cases[] = {
        {8, 0, RUNTIME_CLASS(COSMControlLabel), 8, 26},
        {9, 200, RUNTIME_CLASS(COSMControlCheckBox), 9, 0},
        {11, 201, RUNTIME_CLASS(COSMControlRadioButton), 11, 0},
        {1, 35002, RUNTIME_CLASS(COSMControlWorkspaceActions), 1, 0},
        {1, 35004, RUNTIME_CLASS(COSMControlButton), 1, 0},
    };
    // The initial table holds them: a reset does not take them away.
    COSMControlFactory::ResetRegistrations();
    COSMCommandBar bar;
    bar.SetCommandBars(commandBars.Get());
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.type * 100000 + c.id);
        COSMControl* added = bar.GetControls()->Add(c.type, static_cast<int>(c.id));
        ASSERT_NE(nullptr, added);
        EXPECT_EQ(c.made, added->GetRuntimeClass());
        EXPECT_EQ(c.storedType, added->GetType());
        EXPECT_EQ(c.flags, added->GetFlags());
        EXPECT_EQ(c.id, added->GetID());

        // Menu conversion makes the same for the Type (the workspace placeholder by its id).
        RefPtr<COSMControl> converted = AdoptRef(COSMControlFactory::CreateForMenu(c.type, c.id, "Item"));
        ASSERT_NE(nullptr, converted.Get());
        EXPECT_EQ(c.made, converted->GetRuntimeClass());
    }
}

TEST_F(SmallControlsFactoryTest, EachClassNameCreatesItsClassAndACloneKeepsClassAndSettings)
{
    const struct
    {
        const char* name;
        int type;
        DWORD flags;
    } cases[] = {
        {"COSMControlLabel", 8, 26},           {"COSMControlCheckBox", 9, 0}, {"COSMControlRadioButton", 11, 0},
        {"COSMControlMarkupLabel", 8, 26},     {"COSMControlBitmap", 8, 26},  {"COSMControlHyperlink", 0, 0},
        {"COSMControlWorkspaceActions", 1, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CRuntimeClass* runtimeClass = CRuntimeClass::FromName(c.name);
        ASSERT_NE(nullptr, runtimeClass);
        EXPECT_EQ(VERSIONABLE_SCHEMA | 0x22, runtimeClass->m_wSchema);
        ASSERT_TRUE(runtimeClass->IsDerivedFrom(RUNTIME_CLASS(COSMControl)));
        RefPtr<COSMControl> control = AdoptRef(static_cast<COSMControl*>(CRuntimeClass::CreateObject(c.name)));
        ASSERT_NE(nullptr, control.Get());
        EXPECT_EQ(runtimeClass, control->GetRuntimeClass());
        EXPECT_EQ(c.type, control->GetType());
        EXPECT_EQ(c.flags, control->GetFlags());

        control->SetID(4242);
        control->SetCaption("Caption");
        control->SetTooltip("https://example.org");
        control->SetBeginGroup(TRUE);
        RefPtr<COSMControl> clone = AdoptRef(control->Clone(FALSE));
        ASSERT_NE(nullptr, clone.Get());
        EXPECT_EQ(runtimeClass, clone->GetRuntimeClass());
        EXPECT_EQ(4242u, clone->GetID());
        EXPECT_STREQ("Caption", clone->GetCaptionText());
        EXPECT_STREQ("https://example.org", clone->GetTooltipText());
        EXPECT_TRUE(clone->GetBeginGroup());
        EXPECT_EQ(c.type, clone->GetType());
        EXPECT_TRUE(clone->Compare(control.Get()));
    }
}

TEST_F(SmallControlsFactoryTest, ABarOfEachSmallControlComesBackFromTheArchiveWithClassesAndKeys)
{
    auto* bar = new COSMCommandBar;
    bar->SetBarID(0x2100);
    bar->SetTitle("Small");
    bar->SetCommandBars(commandBars.Get());
    COSMControls* controls = bar->GetControls();
    const struct
    {
        COSMControl* control;
        UINT id;
        const char* caption;
        const char* tooltip;
    } made[] = {
        {MakeControl<COSMControlLabel>(), 0, "Zoom:", ""},
        {MakeControl<COSMControlCheckBox>(), 31001, "&Wrap", "Wraps lines"},
        {MakeControl<COSMControlRadioButton>(), 31002, "&Left", ""},
        {MakeControl<COSMControlMarkupLabel>(), 0, "<TextBlock>Found <Bold>3</Bold></TextBlock>", ""},
        {MakeControl<COSMControlBitmap>(), 31003, "", ""},
        {MakeControl<COSMControlHyperlink>(), 31004, "Project home", "https://example.org/"},
        {MakeControl<COSMControlWorkspaceActions>(), 35002, "Workspace", ""},
    };
    for (const auto& m : made)
    {
        controls->AddControl(m.control, static_cast<int>(m.id));
        m.control->SetCaption(m.caption);
        m.control->SetTooltip(m.tooltip);
    }
    controls->GetAt(1)->SetParameter("wrap");
    controls->GetAt(2)->SetBeginGroup(TRUE);
    commandBars->AddCommandBar(bar);

    LoadFromMemory load(SaveBars(commandBars.Get()));
    COSMCommandBarsPersistParams params;
    params.commandBars = commandBars.Get();
    load.px.m_dwData = reinterpret_cast<DWORD_PTR>(&params);
    COSMCommandBarList list;
    ASSERT_TRUE(commandBars->LoadCommandBarList(&load.px, &list));
    ASSERT_EQ(1, list.GetCount());
    COSMControls* loaded = list.GetAt(0)->GetControls();
    ASSERT_EQ(controls->GetCount(), loaded->GetCount());
    for (int i = 0; i < loaded->GetCount(); ++i)
    {
        const COSMControl* original = controls->GetAt(i);
        const COSMControl* back = loaded->GetAt(i);
        SCOPED_TRACE(original->GetRuntimeClass()->m_lpszClassName);
        EXPECT_EQ(original->GetRuntimeClass(), back->GetRuntimeClass());
        EXPECT_EQ(original->GetID(), back->GetID());
        EXPECT_EQ(original->GetType(), back->GetType());
        EXPECT_EQ(original->GetFlags(), back->GetFlags());
        EXPECT_STREQ(original->GetCaptionText(), back->GetCaptionText());
        EXPECT_STREQ(original->GetTooltipText(), back->GetTooltipText());
        EXPECT_STREQ(original->GetParameter(), back->GetParameter());
        EXPECT_EQ(original->GetBeginGroup(), back->GetBeginGroup());
    }
    // The markup label parsed the caption it loaded.
    EXPECT_NE(nullptr, static_cast<const COSMControlMarkupLabel*>(loaded->GetAt(3))->GetMarkupElement());
}

// ---- Labels ----------------------------------------------------------------------------------------------------

class SmallControlsBarTest : public TrackingSiteTest
{
protected:
    void SetUp() override
    {
        TrackingSiteTest::SetUp();
        MakeBarWindow(bar, 1, 0, CRect(0, 0, 400, 40));
    }
    void TearDown() override
    {
        COSMControlHyperlink::SetOpener(nullptr);
        TrackingSiteTest::TearDown();
    }

    template <class Control> Control* Add(UINT id, const char* caption, CRect rect = CRect(10, 5, 150, 30))
    {
        auto* control =
            static_cast<Control*>(bar.GetControls()->AddControl(MakeControl<Control>(), static_cast<int>(id)));
        control->SetCaption(caption);
        control->SetRect(rect);
        return control;
    }

    int Commands(UINT id) const
    {
        int count = 0;
        for (const auto& record : frame.RecordsOf(WM_COMMAND))
            count += LOWORD(record.wParam) == id;
        return count;
    }

    TrackingBar bar;
};

TEST_F(SmallControlsBarTest, ALabelIsNeverSelectedAndNeverExecutes)
{
    auto* label = Add<COSMControlLabel>(31010, "Zoom:");
    label->SetSelected(1);
    EXPECT_EQ(0, label->GetSelected());
    label->OnClick(FALSE, CPoint(20, 10));
    label->OnClick(TRUE, CPoint(20, 10));
    label->OnLButtonUp(CPoint(20, 10));
    label->OnLButtonDown(CPoint(20, 10));
    EXPECT_EQ(0, Commands(31010));
    EXPECT_EQ(0u, frame.RecordsOf(CCommandBarsTestFrame::kControlNotify).size());
}

TEST_F(SmallControlsBarTest, InCustomizeModeALabelIsCustomizedOnlyWhenEveryControlMayBe)
{
    auto* label = Add<COSMControlLabel>(31011, "Zoom:");
    bar.SetCustomizable(TRUE);
    commandBars->SetCustomizeMode(TRUE);
    const struct
    {
        BOOL allBars;
        BOOL keyboard;
        BOOL selected;
    } cases[] = {
        {FALSE, FALSE, FALSE},  // flag 16: the label stays where it is
        {TRUE, TRUE, FALSE},    // only a mouse click customizes
        {TRUE, FALSE, TRUE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.allBars * 10 + c.keyboard);
        commandBars->SetCustomizeSelection(nullptr);
        commandBars->EnableCustomizeAllBars(c.allBars);
        label->OnClick(c.keyboard, CPoint(20, 10));
        EXPECT_EQ(c.selected ? label : nullptr, commandBars->GetCustomizeSelection());
    }
    commandBars->SetCustomizeMode(FALSE);
    EXPECT_EQ(0, Commands(31011));
}

// ---- Markup labels ---------------------------------------------------------------------------------------------

TEST_F(SmallControlsBarTest, AMarkupLabelParsesEveryCaptionAndMeasuresItInTheRegularFont)
{
    const LONG liveAtStart = COSMMarkupObject::GetLiveObjectCount();
    auto* label = Add<COSMControlMarkupLabel>(0, "<TextBlock>Found <Bold>3</Bold> files</TextBlock>");
    COSMMarkupUIElement* first = label->GetMarkupElement();
    ASSERT_NE(nullptr, first);
    const LONG liveWithOne = COSMMarkupObject::GetLiveObjectCount();
    EXPECT_GT(liveWithOne, liveAtStart);

    // The size is the element's, measured with the paint manager's regular font.
    const char* kLonger = "<TextBlock>Found <Bold>3</Bold> files in 2 folders</TextBlock>";
    label->SetCaption(kLonger);
    ASSERT_NE(nullptr, label->GetMarkupElement());
    COSMMarkupContext* context = CreateMarkupContext(nullptr);
    COSMMarkupUIElement* expected = ParseMarkup(context, kLonger);
    SetMarkupContextDefaultFont(context, static_cast<HFONT>(bar.GetPaintManager()->GetRegularFont().GetSafeHandle()),
                                COLORREF(-1));
    const CSize expectedSize = MeasureMarkupElement(expected, 0x7FFFFFFF, 0x7FFFFFFF);
    ReleaseMarkupElement(&expected);
    ReleaseMarkupContext(&context);
    CClientDC dc(&bar);
    const CSize size = label->GetSize(&dc);
    EXPECT_EQ(expectedSize, size);
    EXPECT_GT(size.cx, 0);

    // A second caption replaced the first element: the same objects live as with one.
    label->SetCaption("<TextBlock>Found <Bold>3</Bold> files</TextBlock>");
    EXPECT_EQ(liveWithOne, COSMMarkupObject::GetLiveObjectCount());

    // Text that is no markup leaves no element: the label measures as a plain one.
    label->SetCaption("Plain words");
    EXPECT_EQ(nullptr, label->GetMarkupElement());
    auto* plain = Add<COSMControlLabel>(0, "Plain words");
    EXPECT_EQ(plain->GetSize(&dc), label->GetSize(&dc));

    bar.GetControls()->RemoveAll();
    EXPECT_EQ(liveAtStart, COSMMarkupObject::GetLiveObjectCount());
}

TEST_F(SmallControlsBarTest, AMarkupLabelDrawsItsElementInTheStateTextColour)
{
    auto* label = Add<COSMControlMarkupLabel>(0, "<TextBlock>Found files</TextBlock>", CRect(0, 0, 150, 25));
    COSMPaintManager* paintManager = bar.GetPaintManager();
    const COLORREF background = RGB(255, 255, 255);
    for (BOOL enabled : {TRUE, FALSE})
    {
        SCOPED_TRACE(enabled);
        label->SetEnabled(enabled);
        const COLORREF text =
            paintManager->GetStateTextColor(FALSE, FALSE, enabled, FALSE, FALSE, bar.GetType(), bar.GetPosition());
        ASSERT_NE(background, text);
        DcTestSurface surface(150, 25, background);
        CDC* dc = CDC::FromHandle(surface.GetDC());
        label->Draw(dc);
        EXPECT_GT(CountPixels(surface, text), 0);
    }
}

// ---- Bitmaps ---------------------------------------------------------------------------------------------------

TEST_F(SmallControlsBarTest, ABitmapTakesTheExtentOfItsCommandsImageAndDrawsItAtTheTopLeft)
{
    auto* bitmap = Add<COSMControlBitmap>(31020, "", CRect(7, 4, 60, 40));
    CClientDC screen(&bar);
    EXPECT_EQ(CSize(0, 0), bitmap->GetSize(&screen));

    // An opaque red 24 x 20 image for the command.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 24;
    info.bmiHeader.biHeight = -20;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    DWORD* bits = nullptr;
    HBITMAP red = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    ASSERT_NE(nullptr, red);
    std::fill(bits, bits + 24 * 20, 0xFFFF0000);
    const UINT ids[] = {31020};
    const BOOL added = bar.GetImageManager()->AddIconsFromBitmap(red, ids, 1, 24, 20, 0, TRUE);
    ::DeleteObject(red);
    ASSERT_TRUE(added);
    COSMImageManagerIcon* image = bar.GetImageManager()->GetImage(31020, 1);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(image->GetExtent(), bitmap->GetSize(&screen));
    EXPECT_EQ(CSize(24, 20), bitmap->GetSize(&screen));

    DcTestSurface surface(80, 50, RGB(255, 255, 255));
    bitmap->Draw(CDC::FromHandle(surface.GetDC()));
    EXPECT_EQ(RGB(255, 0, 0), surface.Pixel(7, 4));
    EXPECT_EQ(RGB(255, 0, 0), surface.Pixel(7 + 23, 4 + 19));
    EXPECT_EQ(RGB(255, 255, 255), surface.Pixel(6, 4));
    EXPECT_EQ(RGB(255, 255, 255), surface.Pixel(7 + 24, 4));
    EXPECT_EQ(RGB(255, 255, 255), surface.Pixel(7, 4 + 20));
}

// ---- Hyperlinks ------------------------------------------------------------------------------------------------

std::vector<std::string> g_opened;

HINSTANCE WINAPI RecordOpen(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
{
    EXPECT_EQ(nullptr, window);
    EXPECT_STREQ("open", verb);
    EXPECT_EQ(nullptr, parameters);
    EXPECT_EQ(nullptr, directory);
    EXPECT_EQ(SW_SHOW, show);
    g_opened.push_back(file);
    return reinterpret_cast<HINSTANCE>(33);
}

TEST_F(SmallControlsBarTest, AHyperlinkMeasuresItsCaptionInTheRegularFont)
{
    auto* link = Add<COSMControlHyperlink>(31030, "Project home & more");
    CClientDC dc(&bar);
    const CString caption = link->GetCaption();
    HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), bar.GetPaintManager()->GetRegularFont().GetSafeHandle());
    SIZE expected = {};
    ASSERT_TRUE(::GetTextExtentPoint32A(dc.GetSafeHdc(), caption, caption.GetLength(), &expected));
    ::SelectObject(dc.GetSafeHdc(), old);
    EXPECT_EQ(CSize(expected.cx, expected.cy), link->GetSize(&dc));
}

TEST_F(SmallControlsBarTest, WithoutAPaintManagerAHyperlinkMeasuresInTheStockGuiFont)
{
    // No theme is registered: the process has no paint manager to give a loose control.
    ResetServices();
    RefPtr<COSMControlHyperlink> link = AdoptRef(MakeControl<COSMControlHyperlink>());
    ASSERT_EQ(nullptr, link->GetPaintManager());
    link->SetCaption("Stock font link");
    DcTestSurface surface(10, 10);
    HGDIOBJ old = ::SelectObject(surface.GetDC(), ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE expected = {};
    ASSERT_TRUE(::GetTextExtentPoint32A(surface.GetDC(), "Stock font link", 15, &expected));
    ::SelectObject(surface.GetDC(), old);
    EXPECT_EQ(CSize(expected.cx, expected.cy), link->GetSize(CDC::FromHandle(surface.GetDC())));
}

TEST_F(SmallControlsBarTest, AHyperlinkIsBlueRedWhileSelectedAndGreyWhenDisabled)
{
    auto* link = Add<COSMControlHyperlink>(31031, "Project home", CRect(0, 0, 120, 20));
    const COLORREF grey = GetColorManager()->GetColor(COLOR_GRAYTEXT);
    const COLORREF background = RGB(255, 255, 255);
    ASSERT_NE(background, grey);
    const struct
    {
        int selected;
        int enabled;
        COLORREF text;
    } cases[] = {
        {0, 1, RGB(0, 0, 255)},
        {1, 1, RGB(255, 0, 0)},
        {0, 0, grey},
        {1, 0, grey},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.selected * 10 + c.enabled);
        link->SetSelected(c.selected);
        link->SetEnabled(c.enabled);
        DcTestSurface surface(120, 20, background);
        link->Draw(CDC::FromHandle(surface.GetDC()));
        EXPECT_GT(CountPixels(surface, c.text), 0);
        for (COLORREF other : {RGB(0, 0, 255), RGB(255, 0, 0), grey})
        {
            if (other != c.text)
            {
                EXPECT_EQ(0, CountPixels(surface, other));
            }
        }
    }
}

TEST_F(SmallControlsBarTest, AHyperlinkOpensOnlyWebAndMailTargetsAndRunsItsCommandForOthers)
{
    COSMControlHyperlink::SetOpener(&RecordOpen);
    auto* link = Add<COSMControlHyperlink>(31032, "Link");
    const struct
    {
        const char* target;
        const char* opened;  // null: nothing opens, the site gets the command
    } cases[] = {
        {"http://example.org", "http://example.org"},
        {" HTTPS://x ", "HTTPS://x"},
        {"mailto:a@b", "mailto:a@b"},
        {"\tMailTo:someone@example.org\t", "MailTo:someone@example.org"},
        {"C:\\Windows\\notepad.exe", nullptr},
        {"file:///C:/x", nullptr},
        {"calc", nullptr},
        {"javascript:x", nullptr},
        {"", nullptr},
        {"http://", nullptr},
        {"httpx://example.org", nullptr},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.target);
        g_opened.clear();
        frame.ClearRecords();
        link->SetTooltip(c.target);
        link->OnClick(FALSE, CPoint(20, 10));
        if (c.opened)
        {
            ASSERT_EQ(1u, g_opened.size());
            EXPECT_EQ(c.opened, g_opened[0]);
            EXPECT_EQ(0, Commands(31032));
        }
        else
        {
            EXPECT_TRUE(g_opened.empty());
            EXPECT_EQ(1, Commands(31032));
        }
    }

    // A disabled link neither opens nor sends anything.
    for (const char* target : {"https://example.org", "calc"})
    {
        SCOPED_TRACE(target);
        g_opened.clear();
        frame.ClearRecords();
        link->SetTooltip(target);
        link->SetEnabled(0);
        link->OnClick(FALSE, CPoint(20, 10));
        link->OnClick(TRUE, CPoint(20, 10));
        EXPECT_TRUE(g_opened.empty());
        EXPECT_EQ(0, Commands(31032));
        EXPECT_EQ(0u, frame.RecordsOf(CCommandBarsTestFrame::kControlNotify).size());
        link->SetEnabled(1);
    }
}

}  // namespace
