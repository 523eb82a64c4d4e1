// Path text to figures: points, types and bounds, or the position of the error; the builder's messages and the
// exception without one; stretched geometries; the renderers' rounded outline.
#include "MarkupTestSupport.h"
#include "ParseTestSupport.h"

#include "framework/markup/MarkupDeviceContext.h"
#include "framework/markup/MarkupPathGeometry.h"
#include "framework/markup/MarkupPathGeometryBuilder.h"
#include "framework/markup/MarkupString.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using markup_test::Hold;
using markup_test::MarkupBuilderTest;

namespace {

// "x,y:type" for each point, then the bounds.
std::string Describe(const COSMMarkupPathGeometry* geometry)
{
    std::ostringstream text;
    for (int i = 0; i < geometry->GetPointCount(); ++i)
        text << geometry->GetPoints()[i].x << "," << geometry->GetPoints()[i].y << ":" << int(geometry->GetTypes()[i])
             << " ";
    const RECT& b = geometry->GetBounds();
    text << "[" << b.left << "," << b.top << "," << b.right << "," << b.bottom << "]";
    return text.str();
}

class PathTest : public MarkupBuilderTest
{
protected:
    // The geometry's description, or "error N" with the position of the builder's message.
    std::string Read(const std::wstring& text)
    {
        COSMMarkupPathGeometryBuilder figures;
        std::string message;
        try
        {
            figures.Parse(&builder, text.c_str(), static_cast<int>(text.size()));
        }
        catch (COSMMarkupBuilderException* e)
        {
            message = e->GetMessageText();
            e->Delete();
            const std::string prefix = "Unexpected token encountered at position '";
            if (message.compare(0, prefix.size(), prefix) != 0)
                return "unexpected message " + message;
            return "error " + message.substr(prefix.size(), message.find('\'', prefix.size()) - prefix.size());
        }
        Hold geometry = Hold::Adopt(figures.CreateGeometry());
        return Describe(static_cast<COSMMarkupPathGeometry*>(geometry.Get()));
    }
};

}  // namespace

TEST_F(PathTest, PathTextGivesPointsTypesAndBoundsOrTheErrorPosition)
{
    const std::wstring forty(40, L'9');
    const struct
    {
        std::wstring text;
        std::string expected;
    } cases[] = {
        {L"M 0,0 L 10,0 10,10 Z", "0,0:0 10,0:1 10,10:129 [0,0,10,10]"},
        {L"m 10,10 20,0", "10,10:0 30,10:1 [10,10,30,10]"},
        {L"M0 0C10 0 10 10 0 10S-10 0 0 0", "0,0:0 10,0:3 10,10:3 0,10:3 -10,10:3 -10,0:3 0,0:3 [-10,0,10,10]"},
        {L"M0,0 H5 V5 h-5 z", "0,0:0 5,0:1 5,5:1 0,5:129 [0,0,5,5]"},
        {L"", "[2147483647,2147483647,-2147483647,-2147483647]"},
        {L" \t\r\n", "[2147483647,2147483647,-2147483647,-2147483647]"},
        {L"M 0,0 Q 1,1 2,2", "error 7"},
        {L"M 0,0,, 1,1", "error 6"},
        {L"M 0.5,0.5 L 2.25,3", "0.5,0.5:0 2.25,3:1 [0,0,3,3]"},
        {L"L 1,1", "error 1"},
        {L"M 0,1e5", "error 6"},
        {L"F1 M 0,0 L 1,1", "0,0:0 1,1:1 [0,0,1,1]"},
        {L"F2 M 0,0", "error 1"},
        {L"M 0,0 L 5,0 Z L 5,5", "0,0:0 5,0:129 0,0:0 5,5:1 [0,0,5,5]"},
        {L"M 0," + forty, "error 44"},
        {L"M -" + forty + L",0", "error 43"},
        {L"M 1,2 c 1,1 2,2 3,3", "1,2:0 2,3:3 3,4:3 4,5:3 [1,2,4,5]"},
        {L"M +.5,-.5 L 1.,+", "0.5,-0.5:0 1,0:1 [0,-1,1,0]"},
        {L"M 0,0 ,L 1,1", "error 7"},
        {L"M 0,0 L 1, ", "error 11"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, Read(c.text)) << std::string(c.text.begin(), c.text.end());
}

TEST_F(PathTest, WithoutABuilderAnErrorIsNotSupported)
{
    COSMMarkupPathGeometryBuilder figures;
    bool thrown = false;
    try
    {
        figures.Parse(nullptr, L"M 0,0 Q 1,1", -1);
    }
    catch (CNotSupportedException* e)
    {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    // Correct text parses without one.
    figures.Parse(nullptr, L"M 1,1 L 2,2", -1);
    Hold geometry = Hold::Adopt(figures.CreateGeometry());
    EXPECT_EQ("1,1:0 2,2:1 [1,1,2,2]", Describe(static_cast<COSMMarkupPathGeometry*>(geometry.Get())));
}

TEST_F(PathTest, ConversionTakesOnlyText)
{
    Hold text = Hold::Adopt(COSMMarkupString::CreateValue(L"M 0,0 L 4,2", -1));
    Hold prototype = Hold::Adopt(new COSMMarkupPathGeometry);
    Hold converted = Hold::Adopt(prototype->ConvertFrom(&builder, text.Get()));
    ASSERT_TRUE(converted);
    EXPECT_EQ("0,0:0 4,2:1 [0,0,4,2]", Describe(static_cast<COSMMarkupPathGeometry*>(converted.Get())));
    EXPECT_EQ(0, static_cast<COSMMarkupPathGeometry*>(converted.Get())->GetPixelOffsetMode());
    Hold number = Hold::Adopt(new COSMMarkupPathGeometry);
    EXPECT_EQ(nullptr, prototype->ConvertFrom(&builder, number.Get()));
}

TEST_F(PathTest, StretchScalesFromTheBoundsAndKeepsAFlatAxis)
{
    const struct
    {
        const wchar_t* text;
        int width, height;
        std::string expected;
    } cases[] = {
        {L"M 0,0 L 10,5", 100, 100, "0,0:0 100,100:1 [0,0,100,100]"},
        {L"M 10,10 L 20,30", 50, 10, "0,0:0 50,10:1 [0,0,50,10]"},
        {L"M 0,5 L 10,5", 100, 100, "0,5:0 100,5:1 [0,5,100,5]"},
        {L"M 3,0 L 3,8", 100, 16, "3,0:0 3,16:1 [3,0,3,16]"},
        {L"M 3,3", 100, 100, "3,3:0 [3,3,3,3]"},
    };
    for (const auto& c : cases)
    {
        COSMMarkupPathGeometryBuilder figures;
        figures.Parse(&builder, c.text, -1);
        Hold source = Hold::Adopt(figures.CreateGeometry());
        static_cast<COSMMarkupPathGeometry*>(source.Get())->SetPixelOffsetMode(4);
        Hold stretched = Hold::Adopt(static_cast<COSMMarkupPathGeometry*>(source.Get())->Stretch(c.width, c.height));
        EXPECT_EQ(c.expected, Describe(static_cast<COSMMarkupPathGeometry*>(stretched.Get())))
            << std::string(c.text, c.text + wcslen(c.text));
        EXPECT_EQ(4, static_cast<COSMMarkupPathGeometry*>(stretched.Get())->GetPixelOffsetMode());
    }
}

TEST_F(PathTest, HugeCoordinatesSaturateTheBounds)
{
    // 3e38 is finite in single precision but far beyond 32 bits.
    const std::wstring huge = L"M -3" + std::wstring(38, L'0') + L",0 L 3" + std::wstring(38, L'0') + L",1";
    EXPECT_EQ("[-2147483647,0,2147483647,1]", Read(huge).substr(Read(huge).find('[')));
}

TEST_F(PathTest, TheRoundedOutlineIsSixteenPointsOnPixelEdges)
{
    const double radii[8] = {3, 6, 6, 3, 3, 6, 6, 3};
    Hold outline = Hold::Adopt(COSMMarkupDeviceContext::CreateRoundedOutline(0, 0, 20, 10, radii));
    const COSMMarkupPathGeometry* geometry = static_cast<COSMMarkupPathGeometry*>(outline.Get());
    EXPECT_EQ("0,3:0 0,0:3 6,0:3 6,0:3 14,0:1 20,0:3 20,3:3 20,3:3 20,7:1 20,10:3 14,10:3 14,10:3 6,10:1 0,10:3 "
              "0,7:3 0,7:131 [0,0,20,10]",
              Describe(geometry));
    EXPECT_EQ(4, geometry->GetPixelOffsetMode());
}

namespace {

using PathMarkupTest = markup_test::ParseTest;

}  // namespace

TEST_F(PathMarkupTest, BadPathDataStopsTheParseWithItsPosition)
{
    const std::string message = ParseError("<Page><Path Data=\"M 0,0 Q 1,1 2,2\"/></Page>");
    const std::string expected = "Unexpected token encountered at position '7'. Line ";
    EXPECT_EQ(expected, message.substr(0, expected.size())) << message;
}
