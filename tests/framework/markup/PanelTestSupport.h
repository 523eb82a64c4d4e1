// What the panel and grid tests share: a parse fixture with a builder for setting properties from text, layout at
// one size, and the final rectangles of a panel's children.
#pragma once

#include "MarkupElementTestTypes.h"
#include "ParseTestSupport.h"

#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupPanel.h"
#include "framework/markup/MarkupUIElementCollection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace markup_test {

class PanelTest : public ParseTest
{
protected:
    // The builder goes before the context the fixture releases.
    void TearDown() override
    {
        m_pBuilder.reset();
        ParseTest::TearDown();
    }

    COSMMarkupBuilder* Builder()
    {
        if (!m_pBuilder)
            m_pBuilder = std::make_unique<COSMMarkupBuilder>(context);
        return m_pBuilder.get();
    }

    // The panel text parses to (the test fails when it does not parse or is no panel), one reference held.
    COSMMarkupPanel* ParsePanel(const std::string& text, Hold* holder)
    {
        std::string error;
        holder->Attach(Parse(text, &error));
        EXPECT_TRUE(*holder) << error << "\n" << text;
        COSMMarkupPanel* panel = MarkupDynamicCast<COSMMarkupPanel>(holder->Get());
        EXPECT_NE(nullptr, panel) << text;
        return panel;
    }

    // Measures element with (width, height) and arranges it at (0, 0, width, height).
    void Layout(COSMMarkupUIElement* element, int width, int height)
    {
        element->Measure(&measuring, width, height);
        element->Arrange(0, 0, width, height);
    }

    static COSMMarkupUIElement* Child(const COSMMarkupPanel* panel, int index)
    {
        return panel->GetChildren()->GetElement(index);
    }

    // The final rectangles of the panel's first count children (all of them for -1).
    static std::vector<CRect> ChildRects(const COSMMarkupPanel* panel, int count = -1)
    {
        std::vector<CRect> rects;
        const int total = panel->GetChildren()->GetCount();
        for (int i = 0; i < (count < 0 ? total : std::min(count, total)); ++i)
        {
            const COSMMarkupUIElement* child = Child(panel, i);
            rects.push_back(child ? child->GetFinalRect() : CRect());
        }
        return rects;
    }

    // "<FrameworkElement Width=".." Height=".."/>" with more attributes.
    static std::string Element(int width, int height, const std::string& attributes = "")
    {
        return "<FrameworkElement Width=\"" + std::to_string(width) + "\" Height=\"" + std::to_string(height) + "\" " +
               attributes + "/>";
    }

    COSMMarkupDrawingContext measuring{COSMMarkupDrawingContext::CreateMeasuringContext};

private:
    std::unique_ptr<COSMMarkupBuilder> m_pBuilder;
};

}  // namespace markup_test
