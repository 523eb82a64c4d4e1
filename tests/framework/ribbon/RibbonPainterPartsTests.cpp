// The ribbon painter on a real ribbon with the production Office 2007 resources: a reduced group's button, the
// application button and its menu, the popups' backgrounds, the caption (its missing pictures, icon and title), the
// context headers, the quick-access area, cut and pressed tabs and reduced groups. Pixels against the same images
// drawn straight from the resources; a theme text of this program's (RibbonImageGaps.rc) takes single images away.
#include "PainterTestIcons.h"
#include "RibbonGroupTestSupport.h"

#include "framework/commandbars/ControlButton.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/ribbon/FramePaintManager.h"
#include "framework/ribbon/RibbonSystemButton.h"
#include "framework/tabs/TabAppearanceSet.h"
#include "framework/tabs/TabPaintManager.h"
#include "framework/themes/Office2007Images.h"
#include "tests/support/DcTestSurface.h"

using namespace ribbon_test;
using foundation_test::DcTestSurface;
using painter_test::SolidIcon;

namespace {

constexpr COLORREF kPartsCanvas = RGB(1, 2, 3);
constexpr COLORREF kIconColor = RGB(200, 30, 40);
constexpr COLORREF kGroupPopupFill = RGB(191, 219, 255);

COSMOffice2007Image* PartImage(LPCSTR name)
{
    COSMOffice2007Image* image = COSMOffice2007Images::Instance()->LoadImage(name);
    EXPECT_NE(nullptr, image) << name;
    return image;
}

// For its life the images read a theme text of this program's that sends some names to a bitmap nobody has.
class ImageGaps
{
public:
    explicit ImageGaps(LPCSTR text) : m_module(COSMOffice2007Images::Instance()->GetResourceModule())
    {
        EXPECT_TRUE(COSMOffice2007Images::Instance()->SetResourceModule(::GetModuleHandleA(nullptr), text));
    }
    ~ImageGaps() { COSMOffice2007Images::Instance()->SetResourceModule(m_module); }
    ImageGaps(const ImageGaps&) = delete;
    ImageGaps& operator=(const ImageGaps&) = delete;

private:
    HMODULE m_module;
};

// A button whose popup reads as open when the test says so.
class CPoppedTestButton : public COSMControlButton
{
public:
    BOOL IsPopupOpen() const override { return popped; }
    BOOL popped = FALSE;
};

class RibbonPainterPartsTest : public RibbonGroupTest
{
protected:
    CSize ClientSize() const
    {
        CRect client;
        ribbon->GetClientRect(&client);
        return client.Size();
    }
    std::unique_ptr<DcTestSurface> Canvas(CSize size = CSize(0, 0)) const
    {
        if (size.cx == 0)
            size = ClientSize();
        return std::make_unique<DcTestSurface>(size.cx, size.cy, kPartsCanvas);
    }
    // The tab's rectangle as the painter grows it (one pixel up, one in from the right and bottom).
    static CRect TabImageRect(const COSMRibbonTab* of)
    {
        CRect rc = of->GetRect();
        COSMTabAppearanceSet::AdjustRectByPosition(rc, 0, 1, -1, -1, 0);
        return rc;
    }
    COSMFramePaintManager* FramePainter() const
    {
        return dynamic_cast<COSMFramePaintManager*>(ribbon->GetPaintManager()->GetFramePaintManager());
    }
    COSMRibbonControlSystemButton* AddSystemButton()
    {
        auto* system = new COSMRibbonControlSystemButton;
        system->SetCaption("&File");
        ribbon->SetSystemButton(system);
        Relayout();
        return system;
    }
    // Icon ids of these tests, apart from the group tests' (the image manager keeps icons between tests).
    static UINT NextIconId() { return ++s_iconId; }

private:
    static inline UINT s_iconId = 61000;
};

}  // namespace

// ---- A reduced group's button ----

TEST_F(RibbonPainterPartsTest, AReducedGroupsButtonDrawsItsPictureAndFramesOnlyASmallIcon)
{
    COSMRibbonGroup* group = AddGroup("Group", "M");
    COSMRibbonGroupControlPopup* button = group->GetPopupButton();
    const CRect rc(10, 10, 60, 150);
    const int captionHeight = Painter()->GetGroupCaptionHeight();
    const int textHeight = ribbon->GetPaintManager()->GetSplitButtonDropDownWidth();
    const CRect captionBand(rc.left, rc.bottom - (captionHeight + 2) - textHeight, rc.right,
                            rc.bottom - (captionHeight + 2));
    const struct
    {
        int size;
        BOOL framed;
        int iconTop;
    } cases[] = {{16, TRUE, 9}, {32, FALSE, 4}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.size);
        const UINT iconId = NextIconId();
        ASSERT_TRUE(ribbon->GetImageManager()->SetIcon(SolidIcon(c.size, kIconColor), iconId, c.size, c.size));
        button->SetIconId(iconId);
        button->SetRect(rc);

        // The button draws and measures through the painter.
        std::unique_ptr<DcTestSurface> drawn = Canvas();
        std::unique_ptr<DcTestSurface> direct = Canvas();
        button->Draw(drawn->dc());
        Painter()->DrawControlGroupPopup(direct->dc(), button, TRUE);
        EXPECT_EQ(direct->All(), drawn->All());
        {
            COSMFontDC font(drawn->dc(), nullptr);
            const CSize size = button->GetSize(drawn->dc());
            EXPECT_EQ(Painter()->DrawControlGroupPopup(drawn->dc(), button, FALSE), size);
            EXPECT_EQ(3 * Painter()->GetControlHeight(), size.cy);
            EXPECT_GE(size.cx, 42);
        }

        // Its picture, the small icon's frame and the icon; the two-line caption band is left out of the comparison.
        std::unique_ptr<DcTestSurface> expected = Canvas();
        COSMOffice2007Image* picture = PartImage("RIBBONGROUPBUTTON");
        ASSERT_NE(nullptr, picture);
        picture->DrawImagePart(expected->dc(), rc, picture->GetStateRect(0, 3), CRect(5, 5, 5, 5));
        const int centre = rc.CenterPoint().x;
        if (c.framed)
        {
            COSMOffice2007Image* frame = PartImage("RIBBONGROUPBUTTONICON");
            ASSERT_NE(nullptr, frame);
            const CRect source = frame->GetStateRect(0, 1);
            frame->DrawImagePart(expected->dc(), CRect(CPoint(centre - source.Width() / 2, rc.top + 2), source.Size()),
                                 source, CRect(0, 0, 0, 0));
        }
        expected->Fill(CRect(CPoint(centre - c.size / 2, rc.top + c.iconTop), CSize(c.size, c.size)), kIconColor);
        expected->Fill(captionBand, kPartsCanvas);
        drawn->Fill(captionBand, kPartsCanvas);
        EXPECT_EQ(expected->All(), drawn->All());
    }
}

// ---- The application button and its menu ----

TEST_F(RibbonPainterPartsTest, TheApplicationButtonPicksItsPictureBySizeAndItsStateByItsPopup)
{
    const struct
    {
        CRect rc;
        LPCSTR image;
    } sizes[] = {
        {CRect(0, 0, 54, 54), "FRAMESYSTEMBUTTON"},
        {CRect(0, 0, 55, 55), "FRAMESYSTEMBUTTON52"},
        {CRect(0, 0, 55, 54), "FRAMESYSTEMBUTTON"},
        {CRect(5, -6, 60, 49), "FRAMESYSTEMBUTTON52"},  // moved down to a top of 0
    };
    const struct
    {
        BOOL selected;
        BOOL popped;
        int state;
    } states[] = {{FALSE, FALSE, 0}, {TRUE, FALSE, 1}, {FALSE, TRUE, 2}, {TRUE, TRUE, 2}};
    CPoppedTestButton button;
    for (const auto& s : sizes)
    {
        for (const auto& st : states)
        {
            SCOPED_TRACE(testing::Message()
                         << s.image << " " << s.rc.Width() << " x " << s.rc.Height() << " state " << st.state);
            button.SetSelected(st.selected);
            button.popped = st.popped;
            std::unique_ptr<DcTestSurface> drawn = Canvas(CSize(80, 80));
            Painter()->DrawRibbonSystemButton(drawn->dc(), &button, s.rc);
            std::unique_ptr<DcTestSurface> expected = Canvas(CSize(80, 80));
            COSMOffice2007Image* image = PartImage(s.image);
            ASSERT_NE(nullptr, image);
            CRect rc = s.rc;
            rc.OffsetRect(0, rc.top < 0 ? -rc.top : 0);
            const CRect source = image->GetStateRect(st.state, 3);
            const CPoint origin((rc.left + rc.right - source.Width()) / 2, (rc.top + rc.bottom - source.Height()) / 2);
            image->DrawImagePart(expected->dc(), CRect(origin, source.Size()), source, CRect(0, 0, 0, 0));
            EXPECT_EQ(expected->All(), drawn->All());
        }
    }
    button.SetSelected(FALSE);
    button.popped = FALSE;

    // The larger picture missing, the larger button takes the smaller one.
    ImageGaps gaps("RIBBON_GAPS_FIRST");
    std::unique_ptr<DcTestSurface> drawn = Canvas(CSize(80, 80));
    Painter()->DrawRibbonSystemButton(drawn->dc(), &button, CRect(0, 0, 60, 60));
    std::unique_ptr<DcTestSurface> expected = Canvas(CSize(80, 80));
    COSMOffice2007Image* smallButton = PartImage("FRAMESYSTEMBUTTON");
    ASSERT_NE(nullptr, smallButton);
    const CRect source = smallButton->GetStateRect(0, 3);
    smallButton->DrawImagePart(expected->dc(),
                               CRect(CPoint((60 - source.Width()) / 2, (60 - source.Height()) / 2), source.Size()),
                               source, CRect(0, 0, 0, 0));
    EXPECT_EQ(expected->All(), drawn->All());
}

TEST_F(RibbonPainterPartsTest, TheRibbonsApplicationButtonDrawsThroughThePainterOrAsAToolbarButton)
{
    COSMRibbonControlSystemButton* system = AddSystemButton();
    ASSERT_TRUE(ribbon->IsCaptionVisible());
    ASSERT_FALSE(system->GetRect().IsRectEmpty());
    auto drawnBy = [&](auto draw) {
        std::unique_ptr<DcTestSurface> surface = Canvas();
        draw(surface->dc());
        return surface->All();
    };
    const std::vector<COLORREF> own = drawnBy([&](CDC* dc) { system->Draw(dc); });
    const std::vector<COLORREF> painter =
        drawnBy([&](CDC* dc) { Painter()->DrawRibbonSystemButton(dc, system, system->GetRect()); });
    const std::vector<COLORREF> toolbar =
        drawnBy([&](CDC* dc) { ribbon->GetPaintManager()->DrawToolBarControl(dc, system, TRUE); });
    EXPECT_EQ(painter, own);
    EXPECT_NE(toolbar, own) << "the round picture, not a toolbar button";

    {
        // With neither picture the button keeps a toolbar button's face.
        ImageGaps gaps("RIBBON_GAPS_SECOND");
        EXPECT_EQ(toolbar, drawnBy([&](CDC* dc) { system->Draw(dc); }));
    }

    // Without the tab row it is a toolbar button.
    ribbon->SetTabsVisible(FALSE);
    Relayout();
    EXPECT_EQ(drawnBy([&](CDC* dc) { ribbon->GetPaintManager()->DrawToolBarControl(dc, system, TRUE); }),
              drawnBy([&](CDC* dc) { system->Draw(dc); }));
}

TEST_F(RibbonPainterPartsTest, TheApplicationMenuDrawsItsPictureAndTheButtonOverIt)
{
    COSMRibbonControlSystemButton* system = AddSystemButton();
    auto* menu = new COSMRibbonSystemPopupBar;
    menu->SetCommandBars(commandBars.Get());
    system->SetCommandBar(menu);
    menu->InternalRelease();
    menu->GetControls()->Add(1, 401)->SetCaption("&New");
    auto* exit = new COSMRibbonControlSystemPopupBarButton;
    menu->GetControls()->AddControl(exit, 404);
    exit->SetCaption("Exit");
    Relayout();
    ClickAt(ScreenPoint(*ribbon, system->GetRect().CenterPoint()));
    PumpMessages();
    ASSERT_TRUE(menu->GetSafeHwnd() && menu->IsWindowVisible());
    CRect client;
    menu->GetClientRect(&client);
    CRect button = system->GetRect();
    ::MapWindowPoints(ribbon->GetSafeHwnd(), menu->GetSafeHwnd(), reinterpret_cast<POINT*>(&button), 2);
    CRect overlap;
    ASSERT_TRUE(overlap.IntersectRect(button, client)) << "the menu opens over the button's foot";

    for (const BOOL withPicture : {TRUE, FALSE})
    {
        SCOPED_TRACE(withPicture);
        std::unique_ptr<ImageGaps> gaps = withPicture ? nullptr : std::make_unique<ImageGaps>("RIBBON_GAPS_SECOND");
        std::unique_ptr<DcTestSurface> drawn = Canvas(client.Size());
        menu->DrawCommandBarFrame(drawn->dc());
        std::unique_ptr<DcTestSurface> expected = Canvas(client.Size());
        if (withPicture)
        {
            COSMOffice2007Image* picture = PartImage("RIBBONSYSTEMMENU");
            ASSERT_NE(nullptr, picture);
            picture->DrawImagePart(expected->dc(), client, picture->GetStateRect(0, 1), CRect(6, 18, 6, 29));
        }
        else
        {
            // A plain popup's fill.
            ribbon->GetPaintManager()->FillCommandBar(expected->dc(), menu);
        }
        Painter()->DrawRibbonSystemButton(expected->dc(), system, button);
        EXPECT_EQ(expected->All(), drawn->All());
    }

    // A foot button stands on its own picture, selected or not.
    for (const BOOL selected : {FALSE, TRUE})
    {
        SCOPED_TRACE(selected);
        exit->SetSelected(selected);
        std::unique_ptr<DcTestSurface> drawn = Canvas(client.Size());
        exit->Draw(drawn->dc());
        std::unique_ptr<DcTestSurface> expected = Canvas(client.Size());
        COSMOffice2007Image* face = PartImage("RIBBONSYSTEMMENUBUTTON");
        ASSERT_NE(nullptr, face);
        face->DrawImage(expected->dc(), exit->GetRect(), face->GetStateRect(selected ? 1 : 0, 2), CRect(2, 2, 2, 2),
                        RGB(255, 0, 255));
        ribbon->GetPaintManager()->DrawToolBarControl(expected->dc(), exit, TRUE);
        EXPECT_EQ(expected->All(), drawn->All());
    }
}

// ---- The popups' backgrounds ----

TEST_F(RibbonPainterPartsTest, TheGroupPopupIsFilledLightBlueUnderTheGroupsPictureGrownByThree)
{
    std::vector<COSMRibbonGroup*> groups = AddCollapsingGroups();
    COSMRibbonGroup* last = groups.back();
    ASSERT_TRUE(last->IsReduced());
    COSMRibbonGroupControlPopup* button = last->GetPopupButton();
    ClickAt(ScreenPoint(*ribbon, button->GetRect().CenterPoint()));
    auto* popup = dynamic_cast<COSMRibbonGroupPopupToolBar*>(button->GetCommandBar());
    ASSERT_NE(nullptr, popup);
    ASSERT_NE(nullptr, popup->GetGroupCopy());
    CRect client;
    popup->GetClientRect(&client);
    ASSERT_FALSE(client.IsRectEmpty());

    const struct
    {
        int color;
        LPCSTR image;
    } cases[] = {{0, "RIBBONGROUPS"}, {4, "CONTEXTTABREDCLIENT"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.image);
        tab->SetContextColor(c.color, c.color ? "Tools" : "");
        std::unique_ptr<DcTestSurface> drawn = Canvas(client.Size());
        Painter()->FillGroupPopupToolBar(drawn->dc(), popup->GetGroupCopy(), popup);
        std::unique_ptr<DcTestSurface> expected = Canvas(client.Size());
        expected->Fill(client, kGroupPopupFill);
        COSMOffice2007Image* image = PartImage(c.image);
        ASSERT_NE(nullptr, image);
        CRect grown = client;
        grown.InflateRect(3, 3);
        image->DrawImagePart(expected->dc(), grown, image->GetStateRect(0, 1), CRect(8, 8, 8, 8));
        EXPECT_EQ(expected->All(), drawn->All());
    }
    tab->SetContextColor(0, "");

    // Without the groups' picture the light blue shows.
    ImageGaps gaps("RIBBON_GAPS_FIRST");
    std::unique_ptr<DcTestSurface> drawn = Canvas(client.Size());
    Painter()->FillGroupPopupToolBar(drawn->dc(), popup->GetGroupCopy(), popup);
    EXPECT_EQ(0, drawn->CountNot(kGroupPopupFill));
}

TEST_F(RibbonPainterPartsTest, TheTabPopupFillsTheRibbonsFaceAndItsGroupsArea)
{
    ribbon->SetRibbonMinimized(TRUE);
    Relayout();
    ClickAt(TabCentre(tab));
    PumpFor(50);
    auto* popup = dynamic_cast<COSMRibbonTabPopupToolBar*>(ribbon->GetControlTab()->GetCommandBar());
    ASSERT_NE(nullptr, popup);
    ASSERT_TRUE(popup->GetSafeHwnd() && popup->IsWindowVisible());
    CRect client;
    popup->GetClientRect(&client);
    const CRect groupsRect = popup->GetGroupsRect();
    ASSERT_FALSE(groupsRect.IsRectEmpty());

    // The tab has no groups: what the popup draws is its background.
    std::unique_ptr<DcTestSurface> drawn = Canvas(client.Size());
    popup->DrawCommandBar(drawn->dc(), client);
    std::unique_ptr<DcTestSurface> expected = Canvas(client.Size());
    expected->Fill(client, Painter()->GetRibbonFaceColor());
    COSMOffice2007Image* groups = PartImage("RIBBONGROUPS");
    ASSERT_NE(nullptr, groups);
    groups->DrawImagePart(expected->dc(), groupsRect, groups->GetStateRect(0, 1), CRect(8, 8, 8, 8));
    EXPECT_EQ(expected->All(), drawn->All());
}

TEST_F(RibbonPainterPartsTest, TheMorePopupsFrameFallsBackToThePopupFrameAndThenToTheFace)
{
    const CSize size = ClientSize();
    const struct
    {
        LPCSTR gaps;
        LPCSTR image;
    } cases[] = {
        {nullptr, "MOREPOPUPBARFRAME"}, {"RIBBON_GAPS_FIRST", "POPUPBARFRAME"}, {"RIBBON_GAPS_SECOND", nullptr}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.image ? c.image : "the face");
        std::unique_ptr<ImageGaps> gaps = c.gaps ? std::make_unique<ImageGaps>(c.gaps) : nullptr;
        std::unique_ptr<DcTestSurface> drawn = Canvas();
        Painter()->FillMorePopupToolBar(drawn->dc(), ribbon);
        std::unique_ptr<DcTestSurface> expected = Canvas();
        if (c.image)
        {
            COSMOffice2007Image* image = PartImage(c.image);
            ASSERT_NE(nullptr, image);
            image->DrawImagePart(expected->dc(), CRect(CPoint(0, 0), size), image->GetStateRect(0, 1),
                                 CRect(4, 4, 4, 4));
        }
        else
        {
            expected->Fill(CRect(CPoint(0, 0), size), Painter()->GetRibbonFaceColor());
        }
        EXPECT_EQ(expected->All(), drawn->All());
    }
}

// ---- The caption ----

TEST_F(RibbonPainterPartsTest, AMissingTopLeftPictureEndsTheFrameCaption)
{
    ribbon->GetQuickAccessControls()->Add(1, 0xE103);
    ribbon->EnableFrameTheme();
    Relayout();
    ASSERT_FALSE(ribbon->GetCaptionRect().IsRectEmpty());
    {
        std::unique_ptr<DcTestSurface> drawn = Canvas();
        Painter()->DrawRibbonFrameCaption(drawn->dc(), ribbon, TRUE);
        EXPECT_NE(0, drawn->CountNot(kPartsCanvas)) << "with the picture the caption is drawn";
    }
    ImageGaps gaps("RIBBON_GAPS_FIRST");
    std::unique_ptr<DcTestSurface> drawn = Canvas();
    Painter()->DrawRibbonFrameCaption(drawn->dc(), ribbon, TRUE);
    EXPECT_EQ(0, drawn->CountNot(kPartsCanvas)) << "no quick-access area, icon or title either";
}

TEST_F(RibbonPainterPartsTest, WithoutAnApplicationButtonTheCaptionShowsTheFramesSmallIconTenPixelsIn)
{
    HICON smallIcon = SolidIcon(16, kIconColor);
    frame.SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    ribbon->EnableFrameTheme();
    Relayout();
    const CRect rc = ribbon->GetCaptionRect();
    const int width = ::GetSystemMetrics(SM_CXSMICON);
    const int height = ::GetSystemMetrics(SM_CYSMICON);
    ASSERT_EQ(16, width) << "the icon is drawn at the system's small size";
    const CRect icon(CPoint(rc.left + 10, (rc.bottom - rc.top - height) / 2), CSize(width, height));
    {
        std::unique_ptr<DcTestSurface> drawn = Canvas();
        Painter()->DrawRibbonFrameCaption(drawn->dc(), ribbon, TRUE);
        EXPECT_TRUE(drawn->AllPixels(icon, kIconColor));
        EXPECT_NE(kIconColor, drawn->Pixel(icon.left - 1, icon.top));
        EXPECT_NE(kIconColor, drawn->Pixel(icon.left, icon.bottom));
    }
    AddSystemButton();
    std::unique_ptr<DcTestSurface> drawn = Canvas();
    Painter()->DrawRibbonFrameCaption(drawn->dc(), ribbon, TRUE);
    EXPECT_FALSE(drawn->AllPixels(icon, kIconColor)) << "the application button stands for the icon";
    frame.SendMessage(WM_SETICON, ICON_SMALL, 0);
    ::DestroyIcon(smallIcon);
}

TEST_F(RibbonPainterPartsTest, TheTitleIsCentredInItsRectangleAndLoweredByHalfTheBorderWhenMaximized)
{
    ribbon->EnableFrameTheme();
    Relayout();
    COSMFramePaintManager* framePainter = FramePainter();
    ASSERT_NE(nullptr, framePainter);
    const COSMRibbonFrame* ribbonFrame = ribbon->GetRibbonFrame();
    ASSERT_NE(nullptr, ribbonFrame);
    const DWORD style = frame.GetStyle();
    const struct
    {
        const char* title;
        BOOL maximized;
    } cases[] = {
        {"Title", FALSE},
        {"Title", TRUE},
        {"A title far too long for the caption of this frame, which is not wide enough for all of it at all", FALSE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.title << (c.maximized ? " maximized" : ""));
        // The maximized style alone: the painter reads it, the frame need not move.
        ::SetWindowLongA(frame.GetSafeHwnd(), GWL_STYLE, c.maximized ? (style | WS_MAXIMIZE) : style);
        frame.SetWindowText(c.title);
        PumpMessages();
        const CRect textRect = ribbon->GetCaptionTextRect();
        ASSERT_FALSE(textRect.IsRectEmpty());

        std::unique_ptr<DcTestSurface> drawn = Canvas();
        Painter()->DrawRibbonFrameCaption(drawn->dc(), ribbon, TRUE);

        // The same caption without its title, and the title drawn by the frame painter where it belongs.
        frame.SetWindowText("");
        PumpMessages();
        std::unique_ptr<DcTestSurface> expected = Canvas();
        Painter()->DrawRibbonFrameCaption(expected->dc(), ribbon, TRUE);
        frame.SetWindowText(c.title);
        PumpMessages();
        CRect title = textRect;
        {
            COSMFontDC font(expected->dc(), &framePainter->GetCaptionFont());
            const int room = title.Width() - static_cast<int>(expected->dc()->GetTextExtent(CString(c.title)).cx);
            if (room >= 0)
                title.left += room / 2;
        }
        if (c.maximized)
            title.top += ribbonFrame->GetFrameBorder() / 2;
        framePainter->DrawCaptionText(expected->dc(), title, &frame, TRUE);
        EXPECT_EQ(expected->All(), drawn->All());
    }
    ::SetWindowLongA(frame.GetSafeHwnd(), GWL_STYLE, style);
}

TEST_F(RibbonPainterPartsTest, AMissingHeaderPictureEndsTheContextHeadersWithTheFontRestored)
{
    std::vector<COSMRibbonTab*> tabs = {tab, ribbon->AddTab("&Design"), ribbon->AddTab("&Format")};
    tabs[1]->SetContextColor(4, "Table Tools");
    tabs[2]->SetContextColor(3, "Chart Tools");
    Relayout();
    COSMRibbonContextHeaders* headers = ribbon->GetContextHeaders();
    ASSERT_NE(nullptr, headers);
    ASSERT_EQ(2, headers->GetCount());
    const CRect red = headers->GetAt(0)->m_rect;
    const CRect green = headers->GetAt(1)->m_rect;
    ASSERT_EQ(4, headers->GetAt(0)->m_color);

    const struct
    {
        LPCSTR gaps;
        bool redDrawn;
        bool greenDrawn;
    } cases[] = {{nullptr, true, true}, {"RIBBON_GAPS_FIRST", false, false}, {"RIBBON_GAPS_SECOND", true, false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.gaps ? c.gaps : "every picture");
        std::unique_ptr<ImageGaps> gaps = c.gaps ? std::make_unique<ImageGaps>(c.gaps) : nullptr;
        std::unique_ptr<DcTestSurface> drawn = Canvas();
        HDC dc = drawn->GetDC();
        const HGDIOBJ fontBefore = ::GetCurrentObject(dc, OBJ_FONT);
        const int modeBefore = ::GetBkMode(dc);
        Painter()->DrawContextHeaders(drawn->dc(), ribbon, headers);
        EXPECT_EQ(fontBefore, ::GetCurrentObject(dc, OBJ_FONT));
        EXPECT_EQ(modeBefore, ::GetBkMode(dc));
        EXPECT_EQ(c.redDrawn, !drawn->AllPixels(red, kPartsCanvas));
        EXPECT_EQ(c.greenDrawn, !drawn->AllPixels(green, kPartsCanvas));
        CRect both;
        both.UnionRect(red, green);
        std::unique_ptr<DcTestSurface> outside = Canvas();
        ::BitBlt(outside->GetDC(), both.left, both.top, both.Width(), both.Height(), dc, both.left, both.top, SRCCOPY);
        EXPECT_EQ(drawn->All(), outside->All()) << "nothing outside the headers";
    }
}

TEST_F(RibbonPainterPartsTest, TheQuickAccessAreaIsDrawnOnlyWithAVisibleQuickAccessControl)
{
    ASSERT_TRUE(ribbon->IsCaptionVisible());
    for (const BOOL withControl : {FALSE, TRUE})
    {
        SCOPED_TRACE(withControl);
        if (withControl)
        {
            ribbon->GetQuickAccessControls()->Add(1, 0xE103);
            Relayout();
        }
        std::unique_ptr<DcTestSurface> drawn = Canvas();
        Painter()->DrawRibbonCaptionArea(drawn->dc(), ribbon);
        std::unique_ptr<DcTestSurface> expected = Canvas();
        CRect rc = ribbon->GetCaptionRect();
        rc.top -= 1;
        COSMOffice2007Image* centre = PartImage("FRAMETOPCENTER");
        ASSERT_NE(nullptr, centre);
        centre->DrawImagePart(expected->dc(), rc, centre->GetStateRect(0, 2), CRect(0, 5, 0, 3));
        if (withControl)
        {
            COSMOffice2007Image* area = PartImage("RIBBONQUICKACCESSAREA");
            ASSERT_NE(nullptr, area);
            area->SetPreserveOrientation(TRUE);
            const CRect qa = ribbon->GetQuickAccessRect();
            area->DrawImagePart(expected->dc(), CRect(qa.left - 15, 0, qa.right, ribbon->GetQuickAccessHeight()),
                                area->GetStateRect(0, 1), CRect(16, 3, 16, 3));
        }
        EXPECT_EQ(expected->All(), drawn->All());
    }
}

// ---- Tabs and groups ----

TEST_F(RibbonPainterPartsTest, ACutCaptionGetsASeparatorAfterItsTab)
{
    for (int i = 0; i < 14; ++i)
        ribbon->AddTab("&A rather long tab caption");
    Relayout();
    COSMRibbonTab* cut = nullptr;
    for (int i = 1; i < ribbon->GetControlTab()->GetItemCount() && !cut; ++i)
    {
        auto* candidate = dynamic_cast<COSMRibbonTab*>(ribbon->GetControlTab()->GetItem(i));
        if (candidate && candidate->GetLength() < candidate->GetContentLength() &&
            candidate != ribbon->GetSelectedTab() && candidate->GetRect().Width() > 4)
            cut = candidate;
    }
    ASSERT_NE(nullptr, cut) << "the tabs do not fit the ribbon";
    MoveMouseTo(CPoint(1200, 1000));
    PumpMessages();
    const CRect rc = TabImageRect(cut);
    std::unique_ptr<DcTestSurface> drawn = Canvas();
    Painter()->DrawRibbonTab(drawn->dc(), cut);
    std::unique_ptr<DcTestSurface> expected = Canvas();
    COSMOffice2007Image* separator = PartImage("RIBBONTABSEPARATOR");
    ASSERT_NE(nullptr, separator);
    separator->DrawImagePart(expected->dc(), CRect(rc.right, rc.top, rc.right + 1, rc.bottom),
                             separator->GetStateRect(0, 1), CRect(0, 0, 0, 0));
    EXPECT_EQ(expected->All(), drawn->All());
    EXPECT_NE(0, drawn->CountNot(kPartsCanvas));
}

namespace {

// What the press showed while the button was down: drawn from a timer inside the tab strip's capture loop.
struct PressedTabProbe
{
    COSMRibbonPaintManager* painter = nullptr;
    COSMRibbonTab* tab = nullptr;
    std::unique_ptr<DcTestSurface> drawn;
    COSMRibbonPaintManager::TabState state{};
    bool pressed = false;
    bool seen = false;
};
PressedTabProbe* g_pressedTabProbe = nullptr;

void CALLBACK DrawPressedTab(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    PressedTabProbe* probe = g_pressedTabProbe;
    if (!probe || probe->seen)
        return;
    probe->seen = true;
    probe->state = COSMRibbonPaintManager::GetTabState(probe->tab);
    COSMTabManager* manager = probe->tab->GetTabManager();
    probe->pressed = manager && manager->GetPressedItem() == probe->tab;
    probe->painter->DrawRibbonTab(probe->drawn->dc(), probe->tab);
    SendMouseInput(MOUSEEVENTF_LEFTUP);
}

}  // namespace

// The ribbon's strip selects on the press; one that tracks the click shows the pressed tab while the button is held.
TEST_F(RibbonPainterPartsTest, APressedTabDrawsItsPressedState)
{
    COSMTabPaintManager* tabPainter = Painter()->GetTabPaintManager();
    ASSERT_NE(nullptr, tabPainter);
    ASSERT_TRUE(tabPainter->m_bSelectOnButtonDown);
    tabPainter->m_bSelectOnButtonDown = FALSE;
    struct Restore
    {
        COSMTabPaintManager* painter;
        ~Restore()
        {
            painter->m_bSelectOnButtonDown = TRUE;
            g_pressedTabProbe = nullptr;
        }
    } restore{tabPainter};
    COSMRibbonTab* insert =
        ribbon->GetControlTab() ? dynamic_cast<COSMRibbonTab*>(ribbon->GetControlTab()->GetItem(1)) : nullptr;
    ASSERT_NE(nullptr, insert);
    ASSERT_NE(insert, ribbon->GetSelectedTab());
    PressedTabProbe probe;
    probe.painter = Painter();
    probe.tab = insert;
    probe.drawn = Canvas();
    g_pressedTabProbe = &probe;
    MoveMouseTo(TabCentre(insert));
    PumpMessages();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 60, &DrawPressedTab);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    PumpFor(400);
    ::KillTimer(nullptr, timer);
    ASSERT_TRUE(probe.seen);
    ASSERT_TRUE(probe.pressed) << "the timer ran while the tab was held";
    EXPECT_FALSE(probe.state.selected);
    EXPECT_TRUE(probe.state.hot);
    std::unique_ptr<DcTestSurface> expected = Canvas();
    COSMOffice2007Image* image = PartImage("RIBBONTAB");
    ASSERT_NE(nullptr, image);
    image->DrawImage(expected->dc(), TabImageRect(insert), image->GetStateRect(2, 6), CRect(5, 5, 5, 5),
                     RGB(255, 0, 255));
    EXPECT_EQ(expected->All(), probe.drawn->All());
}

TEST_F(RibbonPainterPartsTest, AReducedGroupDrawsNothingAndItsButtonItsPicture)
{
    std::vector<COSMRibbonGroup*> groups = AddCollapsingGroups();
    COSMRibbonGroup* reduced = groups.back();
    ASSERT_TRUE(reduced->IsReduced());
    ASSERT_FALSE(groups.front()->IsReduced());
    std::unique_ptr<DcTestSurface> drawn = Canvas();
    Painter()->DrawGroup(drawn->dc(), reduced);
    EXPECT_EQ(0, drawn->CountNot(kPartsCanvas));
    Painter()->DrawGroup(drawn->dc(), groups.front());
    EXPECT_NE(0, drawn->CountNot(kPartsCanvas)) << "a whole group is drawn";

    // The button in the ribbon shows the group button's picture at its left edge, outside its icon and caption.
    COSMRibbonGroupControlPopup* button = reduced->GetPopupButton();
    ASSERT_TRUE(button->IsVisible());
    const CRect rc = button->GetRect();
    std::unique_ptr<DcTestSurface> own = Canvas();
    button->Draw(own->dc());
    std::unique_ptr<DcTestSurface> expected = Canvas();
    COSMOffice2007Image* picture = PartImage("RIBBONGROUPBUTTON");
    ASSERT_NE(nullptr, picture);
    picture->DrawImagePart(expected->dc(), rc, picture->GetStateRect(button->GetSelected() ? 1 : 0, 3),
                           CRect(5, 5, 5, 5));
    for (int y = rc.top; y < rc.bottom; ++y)
    {
        for (int x = rc.left; x < rc.left + 3; ++x)
            ASSERT_EQ(expected->Pixel(x, y), own->Pixel(x, y)) << x << ", " << y;
    }
}

TEST_F(RibbonPainterPartsTest, WithoutTheirPicturesGroupsOptionAndScrollButtonsKeepAPlainFace)
{
    COSMRibbonGroup* group = AddGroup("", "M");
    group->SetRect(CRect(10, 10, 90, 100));
    COSMControlButton option;
    option.SetRect(CRect(100, 10, 115, 24));
    option.SetSelected(TRUE);
    COSMControlButton scroll;
    scroll.SetRect(CRect(130, 10, 142, 70));
    ImageGaps gaps("RIBBON_GAPS_SECOND");
    std::unique_ptr<DcTestSurface> drawn = Canvas();
    Painter()->DrawGroup(drawn->dc(), group);
    Painter()->DrawControlGroupOption(drawn->dc(), &option, TRUE);
    Painter()->DrawGroupsScrollButton(drawn->dc(), &scroll, TRUE);

    const int band = 100 - Painter()->GetGroupCaptionHeight();
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), drawn->Pixel(50, 40)) << "the group's face";
    EXPECT_EQ(::GetSysColor(COLOR_3DSHADOW), drawn->Pixel(12, band + 2)) << "its caption band";
    EXPECT_EQ(::GetSysColor(COLOR_3DHILIGHT), drawn->Pixel(10, 50)) << "its raised edge";
    EXPECT_EQ(::GetSysColor(COLOR_3DSHADOW), drawn->Pixel(89, 50));
    EXPECT_EQ(::GetSysColor(COLOR_3DHILIGHT), drawn->Pixel(100, 15)) << "the selected option button's edge";
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHTTEXT), drawn->Pixel(109, 18)) << "its corner arrow";
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), drawn->Pixel(132, 20)) << "the scroll button's face";
    EXPECT_EQ(::GetSysColor(COLOR_BTNTEXT), drawn->Pixel(134, 40)) << "its arrow, no glyph";
}
