#include "framework/controls/ControlProgress.h"

#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ProgressPaintManager.h"
#include "framework/foundation/PropExchange.h"

namespace {

// A new bar's width, and its height where neither the control nor a painter gives one.
const int kProgressDefaultWidth = 100;
const int kProgressDefaultHeight = 16;

}  // namespace

IMPLEMENT_SERIAL(COSMControlProgress, COSMControl, VERSIONABLE_SCHEMA | 0x22)

COSMControlProgress::COSMControlProgress()
{
    m_width = kProgressDefaultWidth;
}

COSMControlProgress::~COSMControlProgress() = default;

COSMProgressPaintManager* COSMControlProgress::GetProgressPaintManager() const
{
    COSMPaintManager* paintManager = GetPaintManager();
    return paintManager ? dynamic_cast<COSMProgressPaintManager*>(paintManager->GetProgressPaintManager()) : nullptr;
}

CSize COSMControlProgress::GetSize(CDC*)
{
    if (m_height >= 1)
        return CSize(m_width, m_height);
    const COSMProgressPaintManager* painter = GetProgressPaintManager();
    return CSize(m_width, painter ? painter->GetBarHeight() : kProgressDefaultHeight);
}

void COSMControlProgress::Draw(CDC* dc)
{
    if (COSMProgressPaintManager* painter = GetProgressPaintManager())
        painter->DrawProgress(dc, this);
}

void COSMControlProgress::DoPropExchange(COSMPropExchange* px)
{
    COSMControl::DoPropExchange(px);
    long lower = m_lower;
    long upper = m_upper;
    long pos = m_pos;
    PropExchangeLong(px, "Min", &lower, 0);
    PropExchangeLong(px, "Max", &upper, 100);
    PropExchangeLong(px, "Pos", &pos, 0);
    if (!px->IsLoading())
        return;
    m_lower = static_cast<int>(lower);
    m_upper = static_cast<int>(upper);
    // A store may hold a position outside its range; drawn as it is it would fill past the bar.
    m_pos = ClampProgressPos(static_cast<int>(pos), m_lower, m_upper);
}

void COSMControlProgress::Copy(const COSMControl* source, BOOL recursive)
{
    COSMControl::Copy(source, recursive);
    const auto* progress = dynamic_cast<const COSMControlProgress*>(source);
    if (!progress || progress == this)
        return;
    SetRange(progress->m_lower, progress->m_upper);
    SetPos(progress->m_pos);
}

void COSMControlProgress::OnClick(BOOL keyboard, CPoint point)
{
    if (!keyboard && IsCustomizeMode() && IsCustomizeClickAllowed())
        OnCustomizeLButtonDown(point);
}

COSMControl* COSMControlProgress::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlProgress*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
