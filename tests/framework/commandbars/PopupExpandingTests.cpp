// Collapsed menus without windows: which commands a popup hides as not used, and where the layout puts the expand
// button that shows them.
#include "classlib/DC.h"
#include "CommandBarsTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PopupExpandButton.h"
#include "framework/controls/ControlGallery.h"
#include "framework/commandbars/PaintManager.h"

#include <algorithm>
#include <vector>

using namespace commandbars_test;

namespace {

// A popup whose expanded state a test may set, as an earlier expansion of the same menu would.
class ExpandablePopup : public COSMPopupBar
{
public:
    void SetExpandedField(BOOL expanded) { m_expanded = expanded; }
};

class PopupExpandingTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        options()->m_alwaysShowFullMenus = FALSE;
        popup->SetCommandBars(commandBars.Get());
        for (UINT id : {101u, 102u, 103u})
        {
            COSMControl* control = popup->GetControls()->Add(1, static_cast<int>(id));
            CString caption;
            caption.Format("Item %u", id);
            control->SetCaption(caption);
        }
    }

    COSMCommandBarsOptions* options() { return commandBars->GetCommandBarsOptions(); }
    void Hide(std::initializer_list<UINT> ids)
    {
        for (UINT id : ids)
            options()->m_hiddenCommands.SetAt(id, 1);
    }
    std::vector<UINT> IdsWithUsageFlag() const
    {
        std::vector<UINT> ids;
        for (int i = 0; i < popup->GetControlCount(); ++i)
            if (popup->GetControl(i)->GetHideFlags() & COSMControl::kHideUsage)
                ids.push_back(popup->GetControl(i)->GetID());
        return ids;
    }
    int ExpandButtonHeight()
    {
        HDC screen = ::GetDC(nullptr);
        const int height = popup->GetPaintManager()
                               ->DrawSpecialControl(CDC::FromHandle(screen), COSMPopupExpandButton::kSpecialKind,
                                                    nullptr, popup.Get(), FALSE, nullptr)
                               .cy;
        ::ReleaseDC(nullptr, screen);
        return height;
    }

    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    RefPtr<ExpandablePopup> popup = AdoptRef(new ExpandablePopup);
};

TEST_F(PopupExpandingTest, WhichCommandsHideAsNotUsed)
{
    const struct
    {
        const char* what;
        BOOL alwaysFull;
        std::vector<UINT> hidden;
        std::vector<UINT> used;
        UINT invisible;  // a command hidden by its own hide flag (0: none)
        BOOL expanded;
        std::vector<UINT> collapsedIds;
        std::vector<UINT> notUsedIds;
    } cases[] = {
        {"full menus always", TRUE, {102, 103}, {}, 0, FALSE, {}, {}},
        {"hidden, unused commands", FALSE, {102, 103}, {}, 0, FALSE, {102, 103}, {102, 103}},
        {"a hidden command once used", FALSE, {102, 103}, {103}, 0, FALSE, {102}, {102}},
        {"no command used", FALSE, {101, 102, 103}, {}, 0, FALSE, {}, {101, 102, 103}},
        {"the used command is invisible", FALSE, {102, 103}, {}, 101, FALSE, {}, {102, 103}},
        {"already expanded", FALSE, {102}, {}, 0, TRUE, {}, {102}},
    };
    for (const auto& c : cases)
    {
        options()->m_alwaysShowFullMenus = c.alwaysFull;
        options()->m_hiddenCommands.RemoveAll();
        options()->m_usedCommands.RemoveAll();
        Hide({});
        for (UINT id : c.hidden)
            options()->m_hiddenCommands.SetAt(id, 1);
        for (UINT id : c.used)
            options()->m_usedCommands.SetAt(id, 1);
        popup->SetExpandedField(c.expanded);
        for (int i = 0; i < popup->GetControlCount(); ++i)
        {
            COSMControl* control = popup->GetControl(i);
            control->SetHideFlags(control->GetID() == c.invisible ? COSMControl::kHideHidden : 0);
        }

        popup->UpdateExpandingState();
        EXPECT_EQ(c.collapsedIds, IdsWithUsageFlag()) << c.what;
        EXPECT_EQ(!c.collapsedIds.empty(), popup->IsCollapsed() != FALSE) << c.what;
        std::vector<UINT> notUsed;
        for (int i = 0; i < popup->GetControlCount(); ++i)
            if (popup->GetControl(i)->IsHiddenWhenNotUsed())
                notUsed.push_back(popup->GetControl(i)->GetID());
        // An invisible command is not judged: it only counts once it shows.
        notUsed.erase(std::remove(notUsed.begin(), notUsed.end(), c.invisible), notUsed.end());
        EXPECT_EQ(c.alwaysFull ? std::vector<UINT>{} : c.notUsedIds, notUsed) << c.what;
        if (c.alwaysFull)
        {
            EXPECT_TRUE(popup->IsExpanded()) << c.what;
        }
    }
}

TEST_F(PopupExpandingTest, WithoutAManagerNothingCollapses)
{
    Hide({102});
    RefPtr<COSMPopupBar> alone = AdoptRef(new COSMPopupBar);
    alone->GetControls()->Add(1, 101);
    alone->GetControls()->Add(1, 102);
    alone->UpdateExpandingState();
    EXPECT_FALSE(alone->IsCollapsed());
    alone->CalcDynamicLayout(0, 0);
    EXPECT_EQ(nullptr, alone->GetExpandButton());
}

TEST_F(PopupExpandingTest, TheLayoutPutsTheExpandButtonUnderTheLastShownItem)
{
    Hide({102, 103});
    const CSize collapsed = popup->CalcDynamicLayout(0, 0);
    ASSERT_TRUE(popup->IsCollapsed());
    COSMControl* button = popup->GetExpandButton();
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(3, button->GetIndex());
    EXPECT_EQ(1, button->GetType());
    EXPECT_EQ(0x5Au, button->GetFlags());
    EXPECT_EQ(9150u, button->GetID());
    EXPECT_TRUE(button->IsTemporary());
    EXPECT_TRUE(button->IsVisible(0));

    const CRect borders = popup->GetBorders();
    const CRect last = popup->GetControl(0)->GetRect();
    const int height = ExpandButtonHeight();
    ASSERT_GT(height, 0);
    EXPECT_EQ(CRect(borders.left, last.bottom, collapsed.cx - borders.right, last.bottom + height), button->GetRect());
    EXPECT_EQ(last.bottom + height + borders.bottom, collapsed.cy);

    // A copy of the popup leaves the temporary button behind.
    RefPtr<COSMCommandBar> copy = AdoptRef(popup->Clone(TRUE));
    EXPECT_EQ(3, copy->GetControlCount());

    // Expanded, every item shows and the button hides.
    popup->SetExpandedField(TRUE);
    const CSize expanded = popup->CalcDynamicLayout(0, 0);
    EXPECT_FALSE(popup->IsCollapsed());
    EXPECT_TRUE(IdsWithUsageFlag().empty());
    EXPECT_FALSE(button->IsVisible(0));
    EXPECT_EQ(popup->GetControl(2)->GetRect().bottom + borders.bottom, expanded.cy);
    // Laid out once more collapsed, the same button comes back.
    popup->SetExpandedField(FALSE);
    popup->CalcDynamicLayout(0, 0);
    EXPECT_EQ(button, popup->GetExpandButton());
    EXPECT_EQ(4, popup->GetControlCount());
}

}  // namespace

namespace {

// Type 10 makes the gallery stand-in, which lets no popup resize it.
TEST_F(PopupExpandingTest, AGalleryThatMayNotBeResizedGivesNoGripper)
{
    COSMControl* gallery = popup->GetControls()->Add(10, 400);
    ASSERT_NE(nullptr, gallery);
    EXPECT_TRUE(gallery->IsKindOf(RUNTIME_CLASS(COSMControlGallery)));
    EXPECT_EQ(10, gallery->GetType());
    EXPECT_EQ(120, gallery->GetWidth());
    EXPECT_EQ(60, gallery->GetHeight());
    EXPECT_EQ(64u, gallery->GetFlags());
    EXPECT_FALSE(gallery->IsCustomizeResizeAllowed());
    EXPECT_EQ(gallery, popup->GetResizableGallery());
    popup->CalcDynamicLayout(0, 0);
    EXPECT_EQ(0, popup->GetResizeMode());
    EXPECT_TRUE(popup->GetResizeGripperRect().IsRectEmpty());
    EXPECT_EQ(CSize(120, 60), gallery->GetRect().Size());
}

// A gallery that lets the user resize it both ways.
class ResizableGallery : public COSMControlGallery
{
public:
    BOOL IsCustomizeResizeAllowed() const override { return 3; }
};

TEST_F(PopupExpandingTest, TheResizeGripperTakesRoomUnderTheExpandButtonAndIsDrawn)
{
    Hide({102, 103});
    popup->GetControls()->AddControl(new ResizableGallery, 400);
    const CSize size = popup->CalcDynamicLayout(0, 0);
    ASSERT_TRUE(popup->IsCollapsed());
    const CRect borders = popup->GetBorders();
    const CRect grip = popup->GetResizeGripperRect();
    EXPECT_EQ(CRect(borders.left, size.cy - borders.bottom - 11, size.cx - borders.right, size.cy - borders.bottom),
              grip);
    EXPECT_EQ(grip.top, popup->GetExpandButton()->GetRect().bottom);

    auto* painter = static_cast<COSMTestPaintManager*>(popup->GetPaintManager());
    painter->ClearCalls();
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size.cx, size.cy);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    popup->DrawCommandBar(CDC::FromHandle(memory), CRect(CPoint(0, 0), size));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    CString expected;
    expected.Format("DrawPopupResizeGripper(%ld,%ld,%ld,%ld,kind=3)", grip.left, grip.top, grip.right, grip.bottom);
    const auto& calls = painter->GetCalls();
    EXPECT_NE(calls.end(), std::find(calls.begin(), calls.end(), std::string(expected))) << expected;
}

}  // namespace
