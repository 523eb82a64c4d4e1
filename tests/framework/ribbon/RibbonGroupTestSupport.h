// What the group tests share: a test control whose size follows its style alone (large 44 x 66, medium 60 x 22,
// icon only 22 x 22) and that counts its command-UI updates, and a ribbon whose metrics the tests pin: a group
// client height of 66 and buttons of 22 x 22 (a column height of 67 and three rows).
//
//   COSMRibbonGroup* group = AddGroup("Clipboard", "LMM");    // one large control (it has an icon), two medium
//   Layout(400);                                              // the real layout pass over 400 pixels
#pragma once

#include "RibbonTestSupport.h"

#include "framework/foundation/ImageManager.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/ribbon/RibbonGroupLayout.h"
#include "framework/ribbon/RibbonGroupsScroller.h"
#include "framework/ribbon/RibbonPopupToolBars.h"

#include <string>
#include <vector>

class CTestGroupControl : public COSMControlButton
{
    DECLARE_SERIAL(CTestGroupControl)

public:
    CSize GetSize(CDC* /*dc*/) override
    {
        if (m_fixedSize.cx != 0)
            return m_fixedSize;
        switch (GetStyle())
        {
        case 4:
            return CSize(44, 66);
        case 2:
            return CSize(22, 22);
        default:
            return CSize(60, 22);
        }
    }
    void Copy(const COSMControl* source, BOOL recursive) override
    {
        COSMControlButton::Copy(source, recursive);
        if (const auto* control = dynamic_cast<const CTestGroupControl*>(source))
            m_fixedSize = control->m_fixedSize;
    }
    void OnIdleUpdate() override { ++m_updates; }

    CSize m_fixedSize;
    int m_updates = 0;
};

namespace ribbon_test {

class RibbonGroupTest : public RibbonTest
{
protected:
    static constexpr int kClientHeight = 66;

    void SetUp() override
    {
        RibbonTest::SetUp();
        tab = AddTabs({"&Home", "&Insert"})[0];
        ribbon->SetFixedGroupClientHeight(kClientHeight);
        ribbon->SetButtonSize(CSize(22, 22));
        Relayout();
        icon = ::LoadIcon(nullptr, IDI_APPLICATION);
    }

    // A group at the end of the tab with a control per letter: L large (an icon at the ribbon's icon width),
    // M medium, B medium starting a group, W medium with the wrap flag, G a gallery-like control (Type 10).
    COSMRibbonGroup* AddGroup(const char* caption, const std::string& kinds, COSMRibbonTab* to = nullptr)
    {
        COSMRibbonGroup* group = (to ? to : tab)->GetGroups()->Add(caption, ++m_nextGroupId);
        for (const char kind : kinds)
            AddControl(group, kind);
        return group;
    }
    // Groups of three medium controls, enough that the last ones collapse to their popup buttons; the caption may
    // number them ("Group %i" from 1).
    std::vector<COSMRibbonGroup*> AddCollapsingGroups(const char* captionFormat = "Group")
    {
        std::vector<COSMRibbonGroup*> groups;
        const int count = ribbon->GetGroupsRect().Width() / 71 + 2;
        for (int i = 0; i < count; ++i)
        {
            CString caption;
            caption.Format(captionFormat, i + 1);
            groups.push_back(AddGroup(caption, "MMM"));
        }
        Relayout();
        return groups;
    }
    COSMControl* AddControl(COSMRibbonGroup* group, char kind, int index = -1)
    {
        // Ids never come back within the program: the image manager keeps the icons of earlier tests.
        const UINT id = ++s_nextId;
        if (kind == 'L')
        {
            const int width = ribbon->CalcIconSize(FALSE).cx;
            EXPECT_TRUE(ribbon->GetImageManager()->SetIcon(icon, id, width, width));
        }
        RefPtr<CTestGroupControl> model = AdoptRef(new CTestGroupControl);
        model->SetID(id);
        model->SetBeginGroup(kind == 'B');
        if (kind == 'W')
            model->SetFlags(model->GetFlags() | COSMControl::kFlagWrapRow);
        if (kind == 'G')
            model->SetType(10);
        return group->AddClone(model.Get(), index, FALSE);
    }

    // The tab's layout pass over the width, without margins.
    void Layout(int width, COSMRibbonTab* of = nullptr)
    {
        CClientDC dc(ribbon);
        (of ? of : tab)->GetGroups()->RepositionGroups(&dc, width, LM_COMMIT, CRect(0, 0, 0, 0));
    }
    // The width the pass gave the group (its rectangle is 5 wider).
    static int Width(const COSMRibbonGroup* group) { return group->GetRect().Width() - 5; }
    int GroupsHeight() const { return ribbon->GetGroupsHeight(); }
    int CaptionHeight() const { return Painter()->GetGroupCaptionHeight(); }
    static std::vector<int> Styles(const COSMRibbonGroup* group)
    {
        std::vector<int> styles;
        for (int i = 0; i < group->GetCount(); ++i)
            styles.push_back(group->GetAt(i)->GetFallbackStyle());
        return styles;
    }
    COSMRibbonGroupsScroller* Scroller() const { return ribbon->GetGroupsScroller(); }

    COSMRibbonTab* tab = nullptr;
    HICON icon = nullptr;

private:
    static inline UINT s_nextId = 5000;
    int m_nextGroupId = 100;
};

// Groups driven from the keyboard: tips on, every command enabled, and nothing left tracking or showing tips after.
class RibbonGroupKeyboardTestBase : public RibbonGroupTest
{
protected:
    void SetUp() override
    {
        RibbonGroupTest::SetUp();
        commandBars->GetCommandBarsOptions()->m_keyboardTips = TRUE;
        commandBars->GetCommandBarsOptions()->m_disableCommandsWithoutHandler = FALSE;
    }
    void TearDown() override
    {
        commandBars->HideKeyboardTips();
        commandBars->ClosePopups();
        PumpFor(60);
        if (ribbon->GetTrackingMode() != 0)
            ribbon->SetTrackingMode(0, FALSE, FALSE);
        RibbonGroupTest::TearDown();
    }
    // Captions the group's controls "A1", "A2" ... after the group's letter (index 0 is "A").
    static void CaptionControls(COSMRibbonGroup* group, int index)
    {
        for (int c = 0; c < group->GetCount(); ++c)
        {
            CString name;
            name.Format("%c%i", 'A' + index, c + 1);
            group->GetAt(c)->SetCaption(name);
        }
    }
};

}  // namespace ribbon_test
