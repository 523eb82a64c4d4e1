// The groups' stand-ins: enough for the bar and the tabs to hold, copy, save and hit-test groups.
#include "framework/ribbon/RibbonGroup.h"

#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/PropExchange.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonTab.h"

#include <memory>

IMPLEMENT_SERIAL(COSMRibbonGroup, CCmdTarget, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonGroupControlPopup, COSMControlPopup, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonGroupsScrollButton, COSMControlButton, VERSIONABLE_SCHEMA | 0x23)
IMPLEMENT_SERIAL(COSMRibbonTabPopupToolBar, COSMPopupToolBar, VERSIONABLE_SCHEMA | 0x23)

// ---- The groups of a tab ----

COSMRibbonGroup* COSMRibbonGroups::Add(LPCSTR caption, int id)
{
    auto* group = new COSMRibbonGroup;
    group->SetParentTab(m_tab);
    group->SetCaption(caption ? caption : "");
    group->SetID(id);
    m_groups.push_back(group);
    return group;
}

void COSMRibbonGroups::RemoveAll()
{
    std::vector<COSMRibbonGroup*> groups;
    groups.swap(m_groups);
    for (COSMRibbonGroup* group : groups)
    {
        group->SetParentTab(nullptr);
        group->InternalRelease();
    }
}

void COSMRibbonGroups::Copy(const COSMRibbonGroups* source)
{
    RemoveAll();
    if (!source)
        return;
    for (const COSMRibbonGroup* group : source->m_groups)
    {
        COSMRibbonGroup* copy = Add(group->GetCaption(), group->GetID());
        copy->SetVisible(group->IsVisible());
    }
}

COSMRibbonGroup* COSMRibbonGroups::HitTest(CPoint point) const
{
    for (COSMRibbonGroup* group : m_groups)
        if (group->IsVisible() && group->GetRect().PtInRect(point))
            return group;
    return nullptr;
}

void COSMRibbonGroups::RepositionGroups(CDC* /*dc*/, int /*width*/, DWORD /*mode*/, CRect /*start*/)
{
    COSMRibbonBar* bar = m_tab ? m_tab->GetRibbonBar() : nullptr;
    if (!bar)
        return;
    for (COSMControl* button : {static_cast<COSMControl*>(bar->GetGroupsScroller()->GetLeftButton()),
                                static_cast<COSMControl*>(bar->GetGroupsScroller()->GetRightButton())})
        button->SetHideFlags(button->GetHideFlags() | COSMControl::kHideHidden);
}

void COSMRibbonGroups::DoPropExchange(COSMPropExchange* px)
{
    if (!px)
        return;
    // The groups' own keys come with them: for now an empty list is written, and a loaded list is skipped.
    std::unique_ptr<COSMPropExchangeEnumerator> groups(px->GetEnumerator("Group"));
    POSITION pos = groups->GetPosition(0);
    if (px->IsLoading())
        RemoveAll();
    while (pos)
        RefPtr<COSMPropExchange>::Adopt(groups->GetNext(pos));
}

// ---- Controls ----

COSMControl* COSMRibbonGroupControlPopup::Clone(BOOL recursive) const
{
    auto* clone = new COSMRibbonGroupControlPopup;
    clone->Copy(this, recursive);
    return clone;
}

COSMRibbonGroupsScroller::COSMRibbonGroupsScroller(COSMRibbonBar* bar)
    : m_bar(bar), m_leftButton(new COSMRibbonGroupsScrollButton(this, TRUE)),
      m_rightButton(new COSMRibbonGroupsScrollButton(this, FALSE))
{
    m_leftButton->SetHideFlags(COSMControl::kHideHidden);
    m_rightButton->SetHideFlags(COSMControl::kHideHidden);
}

COSMRibbonGroupsScroller::~COSMRibbonGroupsScroller()
{
    m_leftButton->InternalRelease();
    m_rightButton->InternalRelease();
}
