// What the layout tests share: a control whose size is set per button style (no fonts or text widths), a bar
// without a window, and a memory DC. The group gap is what the test paint manager's separator reports.
#pragma once

#include "classlib/DC.h"
#include "CommandBarsTestSupport.h"

#include <map>
#include <vector>

namespace commandbars_test {

// The order in which controls were asked to build their items.
inline std::vector<COSMControl*>& BuiltControls()
{
    static std::vector<COSMControl*> built;
    return built;
}

class SizedControl : public COSMControl
{
public:
    explicit SizedControl(CSize size) { m_sizes[-1] = size; }

    // The size for one style (others take the size given at construction).
    void SetSizeForStyle(int style, CSize size) { m_sizes[style] = size; }

    CSize GetSize(CDC*) override
    {
        const auto found = m_sizes.find(GetStyle());
        return found != m_sizes.end() ? found->second : m_sizes[-1];
    }
    void BuildDynamicItems(DWORD) override { BuiltControls().push_back(this); }

private:
    std::map<int, CSize> m_sizes;
};

class LayoutTest : public CommandBarsTest
{
protected:
    // Different on every side, so that a border taken for another shows.
    const CRect kBorders{2, 3, 4, 5};

    void SetUp() override
    {
        CommandBarsTest::SetUp();
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        gap = bar.GetPaintManager()->DrawCommandBarSeparator(&dc, &bar, nullptr, FALSE);
        ASSERT_GT(gap.cx, 0);
        ASSERT_GT(gap.cy, 0);
        BuiltControls().clear();
    }

    SizedControl* Add(CSize size, DWORD flags = 0, BOOL beginGroup = FALSE, UINT id = 0)
    {
        auto* control = new SizedControl(size);
        control->SetFlags(flags);
        control->SetBeginGroup(beginGroup);
        bar.GetControls()->AddControl(control, static_cast<int>(id));
        return control;
    }
    // count controls of one size.
    std::vector<SizedControl*> AddMany(int count, CSize size)
    {
        std::vector<SizedControl*> added;
        for (int i = 0; i < count; ++i)
            added.push_back(Add(size));
        return added;
    }

    CSize Layout(int length, DWORD mode, int minWidth = 0)
    {
        return bar.GetControls()->CalcDynamicSize(&dc, length, mode, kBorders, minWidth);
    }

    std::vector<BOOL> Wraps() const
    {
        std::vector<BOOL> wraps;
        for (int i = 0; i < bar.GetControlCount(); ++i)
            wraps.push_back(bar.GetControl(i)->GetWrap());
        return wraps;
    }

    COSMCommandBar bar;
    CDC dc;
    CSize gap;
};

}  // namespace commandbars_test
