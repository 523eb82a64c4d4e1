// Brushes, gradient stops and points: their text forms, their content and their representative colours.
#include "MarkupTestSupport.h"
#include "MarkupTestTypes.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupGradientStop.h"
#include "framework/markup/MarkupPoint.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"
#include "platform/classlib/RefPtr.h"

#include <gtest/gtest.h>

using markup_test::BuilderMessage;
using markup_test::CTestNode;
using markup_test::Hold;
using markup_test::MarkupBuilderTest;
using markup_test::RefCount;

namespace {

class BrushTest : public MarkupBuilderTest
{
protected:
    // A gradient stop of colour text at offset text, set the way markup sets them.
    COSMMarkupObject* NewStop(LPCWSTR color, LPCWSTR offset)
    {
        COSMMarkupGradientStop* stop = new COSMMarkupGradientStop;
        stop->SetPropertyObject(&builder, COSMMarkupGradientStop::s_pColorProperty, new COSMMarkupString(color, -1));
        stop->SetPropertyObject(&builder, COSMMarkupGradientStop::s_pOffsetProperty, new COSMMarkupString(offset, -1));
        return stop;
    }
};

}  // namespace

TEST_F(BrushTest, ColourTextWithAlphaGivesATranslucentSolidBrush)
{
    Hold node = Hold::Adopt(new CTestNode);
    node->SetPropertyObject(&builder, CTestNode::s_pFillProperty, new COSMMarkupString(L"#80FF0000", -1));
    const COSMMarkupSolidColorBrush* brush =
        MarkupDynamicCast<COSMMarkupSolidColorBrush>(node->GetValue(CTestNode::s_pFillProperty));
    ASSERT_NE(nullptr, brush);
    EXPECT_EQ(static_cast<COLORREF>(255), brush->GetRepresentativeColor());
    EXPECT_EQ(0x800000FFu, brush->GetColor()->GetValue());

    Hold plain = Hold::Adopt(new COSMMarkupBrush);
    Hold number = Hold::Adopt(new COSMMarkupInt(1));
    EXPECT_EQ(nullptr, plain->ConvertFrom(&builder, number.Get()));
    EXPECT_EQ(0u, static_cast<COSMMarkupBrush*>(plain.Get())->GetRepresentativeColor());
}

TEST_F(BrushTest, SolidBrushesCompareTheirColourWithoutAlpha)
{
    Hold opaque = Hold::Adopt(new COSMMarkupSolidColorBrush(RGB(10, 20, 30)));
    Hold translucent = Hold::Adopt(new COSMMarkupSolidColorBrush(0x40, RGB(10, 20, 30)));
    Hold other = Hold::Adopt(new COSMMarkupSolidColorBrush(RGB(10, 20, 31)));
    Hold color = Hold::Adopt(new COSMMarkupColor(RGB(10, 20, 30)));
    EXPECT_TRUE(opaque->IsEqual(translucent.Get()));
    EXPECT_FALSE(opaque->IsEqual(other.Get()));
    EXPECT_FALSE(opaque->IsEqual(color.Get()));
    EXPECT_EQ(0x40000000u | RGB(10, 20, 30),
              static_cast<COSMMarkupSolidColorBrush*>(translucent.Get())->GetColor()->GetValue());

    Hold empty = Hold::Adopt(new COSMMarkupSolidColorBrush);
    EXPECT_EQ(nullptr, static_cast<COSMMarkupSolidColorBrush*>(empty.Get())->GetColor());
    EXPECT_EQ(0u, static_cast<COSMMarkupSolidColorBrush*>(empty.Get())->GetRepresentativeColor());
}

TEST_F(BrushTest, GradientStopsKeepTheirMarkupOrder)
{
    COSMMarkupLinearGradientBrush* brush = new COSMMarkupLinearGradientBrush;
    Hold hold = Hold::Adopt(brush);
    EXPECT_EQ(0u, brush->GetRepresentativeColor());
    ASSERT_NE(nullptr, brush->GetGradientStops());
    EXPECT_EQ(brush, brush->GetGradientStops()->GetLogicalParent());
    EXPECT_EQ(nullptr, brush->GetValue(COSMMarkupLinearGradientBrush::s_pStartPointProperty));

    brush->SetContentObject(&builder, NewStop(L"#40102030", L"0"));
    brush->SetContentObject(&builder, NewStop(L"Navy", L"0.5"));
    brush->SetContentObject(&builder, NewStop(L"White", L"1"));
    const COSMMarkupGradientStops* stops = brush->GetGradientStops();
    ASSERT_EQ(3, stops->GetCount());
    const UINT colors[] = {0x40302010, 0xFF800000, 0xFFFFFFFF};
    const double offsets[] = {0.0, 0.5, 1.0};
    for (int i = 0; i < 3; ++i)
    {
        const COSMMarkupGradientStop* stop = static_cast<COSMMarkupGradientStop*>(stops->GetItem(i));
        EXPECT_EQ(colors[i], stop->GetColor()) << i;
        EXPECT_EQ(offsets[i], stop->GetOffset()) << i;
    }
    // The first stop stands for the brush, without its alpha.
    EXPECT_EQ(static_cast<COLORREF>(0x302010), brush->GetRepresentativeColor());

    RefPtr<COSMMarkupObject> number = AdoptRef(new COSMMarkupInt(1));
    EXPECT_EQ("'COSMMarkupInt' object cannot be added to 'COSMMarkupGradientStops'. "
              "Object cannot be converted to type 'COSMMarkupGradientStop'",
              BuilderMessage([&] { brush->SetContentObject(&builder, number.Get()); }));
    number.Reset();
}

TEST_F(BrushTest, AGradientBrushWithoutStopsTakesNoContent)
{
    COSMMarkupLinearGradientBrush* brush = new COSMMarkupLinearGradientBrush;
    Hold hold = Hold::Adopt(brush);
    brush->SetValue(COSMMarkupLinearGradientBrush::s_pGradientStopsProperty, nullptr);
    EXPECT_EQ(0u, brush->GetRepresentativeColor());
    RefPtr<COSMMarkupObject> stop = AdoptRef(new COSMMarkupGradientStop);
    EXPECT_EQ("Cannot add content to an object of type 'COSMMarkupLinearGradientBrush'",
              BuilderMessage([&] { brush->SetContentObject(&builder, stop.Get()); }));
    stop.Reset();
}

TEST_F(BrushTest, UnsetStopsReadAsZero)
{
    Hold stop = Hold::Adopt(new COSMMarkupGradientStop);
    EXPECT_EQ(0u, static_cast<COSMMarkupGradientStop*>(stop.Get())->GetColor());
    EXPECT_EQ(0.0, static_cast<COSMMarkupGradientStop*>(stop.Get())->GetOffset());
}

TEST_F(BrushTest, AColourElementTakesColourTextAsContent)
{
    COSMMarkupColor* color = new COSMMarkupColor;
    Hold hold = Hold::Adopt(color);
    COSMMarkupObject* navy = new COSMMarkupString(L"Navy", -1);
    color->SetContentObject(&builder, navy);
    EXPECT_EQ(0xFF800000u, color->GetValue());

    RefPtr<COSMMarkupObject> nonsense = AdoptRef(new COSMMarkupString(L"Nope", -1));
    EXPECT_EQ("Cannot convert the string 'Nope' into a 'COSMMarkupColor' object",
              BuilderMessage([&] { color->SetContentObject(&builder, nonsense.Get()); }));
    EXPECT_EQ(1, RefCount(nonsense.Get()));
    nonsense.Reset();
    RefPtr<COSMMarkupObject> number = AdoptRef(new COSMMarkupInt(3));
    EXPECT_EQ("Cannot add content to an object of type 'COSMMarkupColor'",
              BuilderMessage([&] { color->SetContentObject(&builder, number.Get()); }));
    number.Reset();
    EXPECT_EQ(0xFF800000u, color->GetValue());
}

TEST_F(BrushTest, PointsReadTwoNumbersSeparatedByAComma)
{
    struct Case
    {
        LPCWSTR text;
        bool converts;
        double x, y;
    };
    const Case cases[] = {
        {L"1,2", true, 1.0, 2.0}, {L" 0.5 , -1 ", true, 0.5, -1.0},
        {L"1 2", true, 1.0, 2.0}, {L"5", false},
        {L"1,", false},           {L"1,2,3", false},
        {L"a,b", false},          {L"", false},
    };
    Hold instance = Hold::Adopt(COSMMarkupPoint::GetClassType()->CreateInstance());
    for (const Case& c : cases)
    {
        Hold text = Hold::Adopt(new COSMMarkupString(c.text, -1));
        Hold point = Hold::Adopt(instance->ConvertFrom(&builder, text.Get()));
        ASSERT_EQ(c.converts, point.Get() != nullptr) << testing::PrintToString(std::wstring(c.text));
        if (!point)
            continue;
        EXPECT_EQ(c.x, static_cast<COSMMarkupPoint*>(point.Get())->GetX());
        EXPECT_EQ(c.y, static_cast<COSMMarkupPoint*>(point.Get())->GetY());
    }
    COSMMarkupPoint* original = new COSMMarkupPoint(3.0, 4.0);
    Hold originalHold = Hold::Adopt(original);
    COSMMarkupPoint* copy = new COSMMarkupPoint(*original);
    Hold copyHold = Hold::Adopt(copy);
    EXPECT_EQ(3.0, copy->GetX());
    EXPECT_EQ(4.0, copy->GetY());
    EXPECT_EQ(1, RefCount(copy));
}
