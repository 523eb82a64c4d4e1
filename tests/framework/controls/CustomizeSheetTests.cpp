// The customize sheet's context-menu commands on an open sheet: the update table, style, group, reset and delete
// (with a selection that outlived its bar), the image commands through the real clipboard, the image grid, the
// menu's notifications, the image editor stand-in and the sheet's message box.
#include "CustomizeTestSupport.h"

#include "framework/commandbars/ControlPopup.h"
#include "framework/controls/ControlEdit.h"
#include "framework/controls/CustomizeImageButton.h"
#include "framework/foundation/ImageManagerIconSet.h"

#include <algorithm>
#include <functional>
#include <string>

using namespace customize_test;

namespace {

constexpr UINT kReset = COSMCustomizeSheet::kCommandReset;
constexpr UINT kDelete = COSMCustomizeSheet::kCommandDelete;
constexpr UINT kName = COSMCustomizeSheet::kCommandName;
constexpr UINT kCopyImage = COSMCustomizeSheet::kCommandCopyImage;
constexpr UINT kPasteImage = COSMCustomizeSheet::kCommandPasteImage;
constexpr UINT kResetImage = COSMCustomizeSheet::kCommandResetImage;
constexpr UINT kEditImage = COSMCustomizeSheet::kCommandEditImage;
constexpr UINT kChangeImage = COSMCustomizeSheet::kCommandChangeImage;
constexpr UINT kStyleDefault = COSMCustomizeSheet::kCommandStyleDefault;
constexpr UINT kStyleBoth = COSMCustomizeSheet::kCommandStyleImageAndText;
constexpr UINT kStyleText = COSMCustomizeSheet::kCommandStyleTextOnly;
constexpr UINT kBeginGroup = COSMCustomizeSheet::kCommandBeginGroup;

// A button that counts its destruction and its caption changes, and notes whether the selection was clear when it
// went.
class CountedButton : public COSMControlButton
{
public:
    ~CountedButton() override
    {
        if (destroyed)
            ++*destroyed;
        if (selectionClearAtDestruction && commandBars)
            *selectionClearAtDestruction = commandBars->GetCustomizeSelection() == nullptr;
    }
    void OnCaptionChanged() override { ++captionChanges; }
    int* destroyed = nullptr;
    bool* selectionClearAtDestruction = nullptr;
    COSMCommandBars* commandBars = nullptr;
    int captionChanges = 0;
};

using SheetCommandsTest = CustomizeSheetTest;

TEST_F(SheetCommandsTest, UpdatesFollowTheSelectedControl)
{
    struct Expect
    {
        UINT id;
        std::optional<BOOL> enabled;
        std::optional<int> check;
    };
    struct Case
    {
        const char* name;
        // Prepares the bar and returns the control to select (null: none).
        std::function<COSMControl*()> select;
        std::vector<Expect> expect;
    };
    const std::optional<BOOL> untouched;
    const std::optional<int> unchecked;
    const std::vector<Case> cases = {
        {"no selection",
         []() -> COSMControl* { return nullptr; },
         {{kStyleDefault, FALSE, 1},
          {kStyleBoth, FALSE, unchecked},
          {kStyleText, FALSE, unchecked},
          {kBeginGroup, untouched, 0},
          {kName, TRUE, unchecked},
          {kReset, untouched, unchecked},
          {kCopyImage, untouched, unchecked},
          {kPasteImage, untouched, unchecked},
          {kResetImage, untouched, unchecked},
          {kEditImage, untouched, unchecked},
          {kChangeImage, untouched, unchecked}}},
        {"button at style 0",
         [this] {
             Button(1)->SetCustomStyle(0);
             return Button(1);
         },
         {{kStyleDefault, TRUE, 1},
          {kStyleBoth, TRUE, 0},
          {kStyleText, TRUE, 0},
          {kCopyImage, TRUE, unchecked},
          {kEditImage, TRUE, unchecked},
          {kChangeImage, TRUE, unchecked}}},
        {"button at style 2",
         [this] {
             Button(1)->SetCustomStyle(2);
             return Button(1);
         },
         {{kStyleDefault, TRUE, 1}, {kStyleBoth, TRUE, 0}, {kStyleText, TRUE, 0}}},
        {"button at style 3",
         [this] {
             Button(1)->SetCustomStyle(3);
             return Button(1);
         },
         {{kStyleDefault, TRUE, 0}, {kStyleBoth, TRUE, 1}, {kStyleText, TRUE, 0}, {kReset, TRUE, unchecked}}},
        {"button at style 1",
         [this] {
             Button(1)->SetCustomStyle(1);
             return Button(1);
         },
         {{kStyleDefault, TRUE, 0}, {kStyleBoth, TRUE, 0}, {kStyleText, TRUE, 1}}},
        {"combo box",
         [this] { return bar.GetControls()->Add(5, 300); },
         {{kStyleDefault, FALSE, 1},
          {kStyleBoth, FALSE, unchecked},
          {kStyleText, FALSE, unchecked},
          {kCopyImage, FALSE, unchecked},
          {kEditImage, FALSE, unchecked},
          {kChangeImage, FALSE, unchecked},
          {kPasteImage, FALSE, unchecked}}},
        {"first control of a bar",
         [this] { return Button(0); },
         {{kBeginGroup, FALSE, 0}, {kReset, FALSE, unchecked}, {kResetImage, FALSE, unchecked}}},
        {"grouped second control",
         [this] {
             Button(1)->SetBeginGroup(TRUE);
             return Button(1);
         },
         {{kBeginGroup, TRUE, 1}}},
        {"custom icon id",
         [this] {
             Button(2)->SetCustomIconId(7);
             return Button(2);
         },
         {{kResetImage, TRUE, unchecked}, {kReset, TRUE, unchecked}}},
        {"custom caption only",
         [this] {
             Button(2)->SetCustomCaption("Mine");
             return Button(2);
         },
         {{kReset, TRUE, unchecked}, {kResetImage, FALSE, unchecked}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMControl* control = c.select();
        Select(control);
        if (control)
        {
            ASSERT_EQ(control, commandBars->GetCustomizeSelection());
        }
        for (const Expect& e : c.expect)
        {
            SCOPED_TRACE(e.id);
            const UpdateSeen update = Update(e.id);
            EXPECT_EQ(e.enabled, update.enabled);
            EXPECT_EQ(e.check, update.check);
        }
        // Back to a plain bar for the next case.
        Select(nullptr);
        for (int i = 0; i < bar.GetControlCount(); ++i)
        {
            bar.GetControl(i)->ResetCustomization();
            bar.GetControl(i)->SetBeginGroup(FALSE);
        }
        while (bar.GetControlCount() > 3)
            bar.GetControls()->RemoveAt(3);
    }
}

TEST_F(SheetCommandsTest, PasteIsEnabledByABitmapOnTheClipboardOnly)
{
    Select(Button(1));
    ClearClipboard(frame.GetSafeHwnd());
    EXPECT_EQ(std::optional<BOOL>(FALSE), Update(kPasteImage).enabled);

    // The program's own format alone does not enable it.
    ASSERT_TRUE(::OpenClipboard(frame.GetSafeHwnd()));
    ::EmptyClipboard();
    ::SetClipboardData(OSM_CF_TOOLBAR_IMAGE, ::GlobalAlloc(GMEM_MOVEABLE, 4));
    ::CloseClipboard();
    EXPECT_EQ(std::optional<BOOL>(FALSE), Update(kPasteImage).enabled);

    ASSERT_TRUE(::OpenClipboard(frame.GetSafeHwnd()));
    ::EmptyClipboard();
    ::SetClipboardData(CF_BITMAP, MakeBitmap32(16, 16, std::vector<DWORD>(256, 0xFF102030)));
    ::CloseClipboard();
    EXPECT_EQ(std::optional<BOOL>(TRUE), Update(kPasteImage).enabled);
}

TEST_F(SheetCommandsTest, StyleGroupAndResetChangeTheControlAndLayTheBarOut)
{
    struct Case
    {
        UINT command;
        int style;
    };
    for (const Case& c : {Case{kStyleDefault, 0}, Case{kStyleBoth, 3}, Case{kStyleText, 1}})
    {
        SCOPED_TRACE(c.command);
        Select(Button(1));
        const int layouts = bar.layouts;
        Command(c.command);
        EXPECT_EQ(c.style, Button(1)->GetCustomStyle());
        EXPECT_EQ(layouts + 1, bar.layouts);
    }

    Command(kBeginGroup);
    EXPECT_TRUE(Button(1)->GetBeginGroup());
    Command(kBeginGroup);
    EXPECT_FALSE(Button(1)->GetBeginGroup());

    // Reset clears the custom style, caption and image.
    Button(1)->SetCustomCaption("Mine");
    Button(1)->SetCustomIconId(9);
    Command(kReset);
    EXPECT_EQ(-1, Button(1)->GetCustomStyle());
    EXPECT_TRUE(Button(1)->GetCustomCaption().IsEmpty());
    EXPECT_EQ(0, Button(1)->GetCustomIconId());

    // Reset image takes the custom id away; the icon stays in the image manager.
    const UINT custom = images->AddCustomIcon(MakeMaskedImage());
    Button(1)->SetCustomIconId(static_cast<int>(custom));
    const int layouts = bar.layouts;
    Command(kResetImage);
    EXPECT_EQ(0, Button(1)->GetCustomIconId());
    EXPECT_EQ(layouts + 1, bar.layouts);
    EXPECT_NE(nullptr, images->LookupIconSet(custom));

    // Nothing selected: nothing changes.
    Select(nullptr);
    Command(kStyleText);
    Command(kBeginGroup);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(-1, Button(i)->GetCustomStyle());
        EXPECT_FALSE(Button(i)->GetBeginGroup());
    }
}

TEST_F(SheetCommandsTest, DeleteClearsTheSelectionFirstAndFreesTheControlOnce)
{
    int destroyed = 0;
    bool selectionClear = false;
    auto* counted = AddControl<CountedButton>(bar, 104);
    counted->destroyed = &destroyed;
    counted->selectionClearAtDestruction = &selectionClear;
    counted->commandBars = commandBars.Get();
    TrackingBar other;
    MakeBarWindow(other, 1, 0, CRect(0, 40, 300, 70));
    other.AddButtons({201});

    Select(counted);
    const int layouts = bar.layouts;
    const int otherLayouts = other.layouts;
    Command(kDelete);
    EXPECT_EQ(1, destroyed);
    EXPECT_TRUE(selectionClear);
    EXPECT_EQ(nullptr, commandBars->GetCustomizeSelection());
    EXPECT_EQ(3, bar.GetControlCount());
    EXPECT_EQ(layouts + 1, bar.layouts);
    EXPECT_EQ(otherLayouts, other.layouts);
}

TEST_F(SheetCommandsTest, ASelectionOutsideAnyBarChangesWithoutALayoutAndDeleteOnlyClearsIt)
{
    // The control leaves its bar while it stays selected (its toolbar was deleted).
    RefPtr<COSMControl> orphan = RetainRef(Button(2));
    Select(orphan.Get());
    bar.GetControls()->Remove(orphan.Get());
    ASSERT_EQ(nullptr, orphan->GetParent());
    ASSERT_EQ(orphan.Get(), commandBars->GetCustomizeSelection());
    const int layouts = bar.layouts;

    Command(kStyleText);
    EXPECT_EQ(1, orphan->GetCustomStyle());
    COSMControl* nameBox = sheet->GetContextMenu()->GetControls()->FindControlById(kName);
    ASSERT_NE(nullptr, nameBox);
    NMOSMCONTROL block{{nullptr, kName, COSMCustomizeSheet::kNotifyExecute}, nameBox};
    static_cast<COSMControlEdit*>(nameBox)->SetEditText("Orphan");
    EXPECT_EQ(1,
              sheet->SendMessage(COSMCustomizeSheet::kMessageControlNotify, kName, reinterpret_cast<LPARAM>(&block)));
    EXPECT_STREQ("Orphan", orphan->GetCustomCaption());

    Command(kDelete);
    EXPECT_EQ(nullptr, commandBars->GetCustomizeSelection());
    EXPECT_EQ(layouts, bar.layouts);
    EXPECT_EQ(2, bar.GetControlCount());
}

TEST_F(SheetCommandsTest, CopyPutsTheImageOnTheClipboardInItsFormats)
{
    const HWND owner = frame.GetSafeHwnd();
    // An icon stored only at width 24 is still found for the 16-pixel copy.
    images->SetIcon(MakeAlphaImage(24), 101, 24, 24);
    // An alpha image at 16.
    images->SetIcon(MakeAlphaImage(16), 102, 16, 16);
    // A masked icon.
    images->SetIcon(MakeMaskedImage(), 103, 16, 16);

    Select(Button(0));
    ClearClipboard(owner);
    Command(kCopyImage);
    EXPECT_FALSE(ClipboardBitmapPixels(owner).empty());
    EXPECT_TRUE(::IsClipboardFormatAvailable(OSM_CF_TOOLBAR_IMAGE));

    Select(Button(1));
    ClearClipboard(owner);
    Command(kCopyImage);
    int bitsPerPixel = 0;
    const std::vector<DWORD> alpha = ClipboardBitmapPixels(owner, &bitsPerPixel);
    EXPECT_EQ(32, bitsPerPixel);
    ASSERT_EQ(256u, alpha.size());
    EXPECT_EQ(0x80u, alpha[0] >> 24);
    EXPECT_EQ(0xFFu, alpha[255] >> 24);
    EXPECT_TRUE(::IsClipboardFormatAvailable(OSM_CF_ALPHA_BITMAP));
    EXPECT_TRUE(::IsClipboardFormatAvailable(OSM_CF_TOOLBAR_IMAGE));

    Select(Button(2));
    ClearClipboard(owner);
    Command(kCopyImage);
    const std::vector<DWORD> masked = Rgb(ClipboardBitmapPixels(owner));
    ASSERT_EQ(256u, masked.size());
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const DWORD faceRgb = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    EXPECT_EQ(faceRgb, masked[0]);                         // transparent: the button face
    EXPECT_EQ(0xC80000u, masked[static_cast<size_t>(8)]);  // the icon's red
    EXPECT_FALSE(::IsClipboardFormatAvailable(OSM_CF_ALPHA_BITMAP));

    // Icon id 0 (a control of id 0 without images): the clipboard stays as it was.
    COSMControl* blank = bar.GetControls()->Add(1, 0);
    ASSERT_EQ(0u, blank->GetIconId());
    Select(blank);
    Command(kCopyImage);
    EXPECT_EQ(masked, Rgb(ClipboardBitmapPixels(owner)));
}

TEST_F(SheetCommandsTest, PasteTakesTheImageFromTheClipboard)
{
    const HWND owner = frame.GetSafeHwnd();
    images->SetIcon(MakeMaskedImage(RGB(0, 150, 0)), 101, 16, 16);
    images->SetIcon(MakeAlphaImage(16), 102, 16, 16);

    // The program's own format: a new custom id with the same pixels.
    Select(Button(0));
    Command(kCopyImage);
    Select(Button(2));
    Command(kPasteImage);
    const int pasted = Button(2)->GetCustomIconId();
    ASSERT_GT(pasted, 0);
    ASSERT_NE(nullptr, images->GetImage(static_cast<UINT>(pasted), 16));
    const std::vector<DWORD> original = IconPixels(images->GetImage(101, 16));
    EXPECT_EQ(12 * 16, std::count(original.begin(), original.end(), 0x009600u));  // the icon, not the background
    EXPECT_EQ(original, IconPixels(images->GetImage(static_cast<UINT>(pasted), 16)));

    // A bitmap with the alpha marker (the toolbar format taken away): an alpha image.
    Select(Button(1));
    Command(kCopyImage);
    ASSERT_TRUE(::OpenClipboard(owner));
    HANDLE bitmapCopy = ::CopyImage(::GetClipboardData(CF_BITMAP), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    ::EmptyClipboard();
    ::SetClipboardData(CF_BITMAP, bitmapCopy);
    ::SetClipboardData(OSM_CF_ALPHA_BITMAP, ::GlobalAlloc(GMEM_MOVEABLE, 1));
    ::CloseClipboard();
    Select(Button(2));
    Command(kPasteImage);
    const int alphaId = Button(2)->GetCustomIconId();
    ASSERT_GT(alphaId, pasted);
    COSMImageManagerIcon* alpha = images->GetImage(static_cast<UINT>(alphaId), 16);
    ASSERT_NE(nullptr, alpha);
    EXPECT_TRUE(alpha->GetIcon().IsAlpha());
    EXPECT_EQ(IconPixels(images->GetImage(102, 16)), IconPixels(alpha));

    // A 24-bit bitmap from another program: a masked icon whose face-coloured pixels are transparent.
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    HDC screen = ::GetDC(nullptr);
    HBITMAP foreign = ::CreateCompatibleBitmap(screen, 16, 16);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, foreign);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ::SetPixel(dc, x, y, y < 8 ? face : RGB(0, 0, 160));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    ASSERT_TRUE(::OpenClipboard(owner));
    ::EmptyClipboard();
    ::SetClipboardData(CF_BITMAP, foreign);
    ::CloseClipboard();
    Command(kPasteImage);
    const int maskedId = Button(2)->GetCustomIconId();
    ASSERT_GT(maskedId, alphaId);
    COSMImageManagerIcon* masked = images->GetImage(static_cast<UINT>(maskedId), 16);
    EXPECT_FALSE(masked->GetIcon().IsAlpha());
    const std::vector<DWORD> overRed = IconPixels(masked, RGB(255, 0, 0));
    ASSERT_EQ(256u, overRed.size());
    EXPECT_EQ(0xFF0000u, overRed[0]);    // face: transparent
    EXPECT_EQ(0x0000A0u, overRed[200]);  // the picture

    // Nothing selected: nothing changes.
    Select(nullptr);
    const UINT last = images->GetLastCustomID();
    Command(kPasteImage);
    EXPECT_EQ(last, images->GetLastCustomID());
}

TEST_F(SheetCommandsTest, TheImageGridFillsOnceWithThePredefinedImages)
{
    struct Case
    {
        int count;
        int mruWidth;
    };
    for (const Case& c : {Case{0, 6}, Case{10, 75}, Case{16, 98}})
    {
        SCOPED_TRACE(c.count);
        RefPtr<COSMImageManager> predefined = AdoptRef(new COSMImageManager);
        for (int i = 1; i <= c.count; ++i)
            predefined->SetIcon(MakeMaskedImage(RGB(10 * i, 0, 0)), static_cast<UINT>(i), 16, 16);
        sheet->SetPredefinedImages(predefined.Get());
        RefPtr<COSMPopupToolBar> grid = AdoptRef(COSMPopupToolBar::CreatePopupToolBar(commandBars.Get()));
        grid->SetBarID(kChangeImage);
        sheet->SendMessage(COSMPopupBar::kMessagePopupShowing, 0, reinterpret_cast<LPARAM>(grid.Get()));
        EXPECT_EQ(c.mruWidth, grid->GetMRUWidth());
        ASSERT_EQ(c.count, grid->GetControlCount());
        for (int i = 0; i < c.count; ++i)
        {
            COSMControl* button = grid->GetControl(i);
            EXPECT_TRUE(button->IsKindOf(RUNTIME_CLASS(COSMCustomizeImageButton)));
            EXPECT_EQ(static_cast<int>(kChangeImage), static_cast<int>(button->GetID()));
            EXPECT_EQ(i + 1, button->GetIconIdField());
            EXPECT_EQ(COSMControl::kFlagManualUpdate, button->GetFlags());
        }
        sheet->SendMessage(COSMPopupBar::kMessagePopupShowing, 0, reinterpret_cast<LPARAM>(grid.Get()));
        EXPECT_EQ(c.count, grid->GetControlCount());
    }
    // Another bar is left alone.
    RefPtr<COSMPopupToolBar> other = AdoptRef(COSMPopupToolBar::CreatePopupToolBar(commandBars.Get()));
    other->SetBarID(4321);
    sheet->SendMessage(COSMPopupBar::kMessagePopupShowing, 0, reinterpret_cast<LPARAM>(other.Get()));
    EXPECT_EQ(0, other->GetControlCount());
}

TEST_F(SheetCommandsTest, ExecutingAGridImageClosesTheMenuAndGivesTheSelectionThatImage)
{
    RefPtr<COSMImageManager> predefined = AdoptRef(new COSMImageManager);
    for (int i = 1; i <= 4; ++i)
        predefined->SetIcon(MakeMaskedImage(RGB(40 * i, 0, 0)), static_cast<UINT>(i), 16, 16);
    // Image 4 holds two widths: it gives nothing.
    predefined->SetIcon(MakeMaskedImage(RGB(0, 0, 90)), 4, 24, 24);
    sheet->SetPredefinedImages(predefined.Get());
    RefPtr<COSMPopupToolBar> grid = AdoptRef(COSMPopupToolBar::CreatePopupToolBar(commandBars.Get()));
    grid->SetBarID(kChangeImage);
    grid->SetCustomizeTool(TRUE);

    struct Case
    {
        int button;
        bool changes;
    };
    for (const Case& c : {Case{2, true}, Case{3, false}})
    {
        SCOPED_TRACE(c.button);
        Select(Button(1));
        Button(1)->SetCustomIconId(0);
        const CPoint at = ScreenPoint(frame, CPoint(40, 80));
        InputScript::Start(frame.GetSafeHwnd(),
                           {[] {}, MoveTo([&] { return ControlCentre(*grid, c.button); }), Press(MOUSEEVENTF_LEFTDOWN),
                            Press(MOUSEEVENTF_LEFTUP), [] {}, [] {}, Key(VK_ESCAPE, false), Key(VK_ESCAPE, true)},
                           120);
        COSMCommandBars::TrackPopupMenu(grid.Get(), 0, at.x, at.y, &frame, nullptr, sheet);
        const bool closedByTheClick = !InputScript::Done();
        InputScript::Stop(frame.GetSafeHwnd());
        EXPECT_TRUE(closedByTheClick);
        EXPECT_FALSE(grid->IsVisible());
        ASSERT_EQ(4, grid->GetControlCount());
        if (!c.changes)
        {
            EXPECT_EQ(0, Button(1)->GetCustomIconId());
            continue;
        }
        const int custom = Button(1)->GetCustomIconId();
        ASSERT_GT(custom, 0);
        EXPECT_EQ(IconPixels(predefined->GetImage(3, 16)), IconPixels(images->GetImage(static_cast<UINT>(custom), 16)));
    }
}

TEST_F(SheetCommandsTest, TheNameBoxRenamesAndOtherNotificationsAreLeftToCommands)
{
    auto* counted = AddControl<CountedButton>(bar, 104);
    Select(counted);
    auto* nameBox = dynamic_cast<COSMControlEdit*>(sheet->GetContextMenu()->GetControls()->FindControlById(kName));
    ASSERT_NE(nullptr, nameBox);
    nameBox->SetEditText("Renamed");
    const int layouts = bar.layouts;
    NMOSMCONTROL block{{nullptr, kName, COSMCustomizeSheet::kNotifyExecute}, nameBox};
    EXPECT_EQ(1,
              sheet->SendMessage(COSMCustomizeSheet::kMessageControlNotify, kName, reinterpret_cast<LPARAM>(&block)));
    EXPECT_STREQ("Renamed", counted->GetCustomCaption());
    EXPECT_EQ(1, counted->captionChanges);
    EXPECT_EQ(layouts + 1, bar.layouts);

    // Another code, and the commands that come as WM_COMMAND.
    NMOSMCONTROL other{{nullptr, kName, 256}, nameBox};
    EXPECT_EQ(0,
              sheet->SendMessage(COSMCustomizeSheet::kMessageControlNotify, kName, reinterpret_cast<LPARAM>(&other)));
    for (UINT id = kReset; id <= kBeginGroup; ++id)
    {
        if (id == kName || id == kChangeImage)
            continue;
        NMOSMCONTROL command{{nullptr, id, COSMCustomizeSheet::kNotifyExecute}, nullptr};
        EXPECT_EQ(0,
                  sheet->SendMessage(COSMCustomizeSheet::kMessageControlNotify, id, reinterpret_cast<LPARAM>(&command)))
            << id;
    }

    // The menu's update shows the selection's caption in the name box.
    counted->SetCustomCaption("Shown");
    RecordingCmdUI update;
    update.m_nID = kName;
    update.m_pOther = sheet->GetContextMenu();
    update.m_nIndex = static_cast<UINT>(nameBox->GetIndex());
    sheet->OnCmdMsg(kName, CN_UPDATE_COMMAND_UI, &update, nullptr);
    EXPECT_STREQ("Shown", nameBox->GetEditText());
    EXPECT_EQ(std::optional<BOOL>(TRUE), update.enabled);
}

TEST_F(SheetCommandsTest, AnApplicationCommandInTheMenuClosesItAndReachesTheFrame)
{
    COSMPopupBar* menu = sheet->GetContextMenu();
    COSMControl* own = menu->GetControls()->Add(1, 4000);
    own->SetCaption("Own command");
    Select(Button(1));
    frame.ClearRecords();
    const CPoint at = ScreenPoint(frame, CPoint(40, 80));
    InputScript::Start(frame.GetSafeHwnd(),
                       {[] {}, MoveTo([&] { return ControlCentre(*menu, own->GetIndex()); }),
                        Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP), [] {}, [] {}, Key(VK_ESCAPE, false),
                        Key(VK_ESCAPE, true)},
                       120);
    sheet->TrackContextMenu(at.x, at.y);
    EXPECT_FALSE(InputScript::Done());
    InputScript::Stop(frame.GetSafeHwnd());
    EXPECT_FALSE(menu->IsVisible());
    std::vector<UINT> order;
    for (const auto& record : frame.Records())
        if ((record.message == CCommandBarsTestFrame::kControlNotify || record.message == WM_COMMAND) &&
            record.wParam == 4000)
            order.push_back(record.message);
    EXPECT_EQ((std::vector<UINT>{CCommandBarsTestFrame::kControlNotify, WM_COMMAND}), order);
    menu->GetControls()->Remove(own);
}

TEST_F(SheetCommandsTest, EditImageRunsTheEditorAndKeepsItsResult)
{
    images->SetIcon(MakeMaskedImage(), 101, 16, 16);
    Select(Button(0));

    // Cancel: nothing changes.
    COSMImageEditorDialog::SetTestAnswer(IDCANCEL, MakeAlphaImage());
    Command(kEditImage);
    EXPECT_EQ(0, Button(0)->GetCustomIconId());

    // OK with an empty result: nothing changes.
    COSMImageEditorDialog::SetTestAnswer(IDOK, COSMImageManagerIconHandle());
    Command(kEditImage);
    EXPECT_EQ(0, Button(0)->GetCustomIconId());

    // OK without a custom id: a new one.
    COSMImageEditorDialog::SetTestAnswer(IDOK, MakeAlphaImage(16, 0xFF0000C0));
    const int layouts = bar.layouts;
    Command(kEditImage);
    const int custom = Button(0)->GetCustomIconId();
    ASSERT_GT(custom, 0);
    EXPECT_EQ(layouts + 1, bar.layouts);
    EXPECT_EQ(ImagePixels(MakeAlphaImage(16, 0xFF0000C0)), IconPixels(images->GetImage(static_cast<UINT>(custom), 16)));

    // OK with a custom id: the shared icon changes, for the other control of that id too.
    Button(1)->SetCustomIconId(custom);
    COSMImageEditorDialog::SetTestAnswer(IDOK, MakeAlphaImage(16, 0xFF00C000));
    Command(kEditImage);
    EXPECT_EQ(custom, Button(0)->GetCustomIconId());
    EXPECT_EQ(ImagePixels(MakeAlphaImage(16, 0xFF00C000)), IconPixels(Button(1)->GetImage(16)));
}

TEST_F(SheetCommandsTest, TheMessageBoxDisablesSheetAndSiteWhileItShows)
{
    struct Seen
    {
        BOOL sheetEnabled;
        BOOL siteEnabled;
        UINT type;
    };
    static Seen seen;
    const auto previous = COSMCustomizeSheet::s_pfnMessageBox;
    COSMCustomizeSheet::s_pfnMessageBox = [](HWND owner, LPCSTR, LPCSTR, UINT type) -> int {
        seen = Seen{::IsWindowEnabled(owner), ::IsWindowEnabled(::GetWindow(owner, GW_OWNER)), type};
        return IDOK;
    };
    HWND focus = ::GetDlgItem(sheet->GetActivePage()->GetSafeHwnd(), 101);
    ASSERT_NE(nullptr, focus);
    ::SetFocus(focus);

    EXPECT_EQ(IDOK, sheet->MessageBox("Question?", MB_OKCANCEL));
    EXPECT_FALSE(seen.sheetEnabled);
    EXPECT_FALSE(seen.siteEnabled);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL), seen.type);
    EXPECT_TRUE(::IsWindowEnabled(sheetWindow()));
    EXPECT_TRUE(frame.IsWindowEnabled());
    EXPECT_EQ(focus, ::GetFocus());

    sheet->ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    sheet->MessageBox("Question?", MB_OK);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_RTLREADING), seen.type);
    COSMCustomizeSheet::s_pfnMessageBox = previous;
}

TEST_F(SheetCommandsTest, TheRealMessageBoxIsOwnedByTheSheetAndAnsweredByTheUser)
{
    bool sheetEnabled = true;
    bool siteEnabled = true;
    HWND owner = nullptr;
    InputScript::Start(frame.GetSafeHwnd(),
                       {[] {},
                        [&] {
                            sheetEnabled = ::IsWindowEnabled(sheetWindow()) != FALSE;
                            siteEnabled = frame.IsWindowEnabled() != FALSE;
                            owner = ::GetWindow(::GetActiveWindow(), GW_OWNER);
                        },
                        Key(VK_RETURN, false), Key(VK_RETURN, true)},
                       150);
    const int answer = sheet->MessageBox("Go on?", MB_OKCANCEL);
    InputScript::Stop(frame.GetSafeHwnd());
    EXPECT_EQ(IDOK, answer);
    EXPECT_FALSE(sheetEnabled);
    EXPECT_FALSE(siteEnabled);
    EXPECT_EQ(sheetWindow(), owner);
    EXPECT_TRUE(::IsWindowEnabled(sheetWindow()));
    EXPECT_TRUE(frame.IsWindowEnabled());
}

}  // namespace
