// Right-to-left contexts through the layout functions looked up in GDI32, and without them.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/DcTestSurface.h"
#include "classlib/DC.h"
#include "framework/foundation/LayoutFunctions.h"

TEST(LayoutFunctions, MirroredContextDrawsFromTheRight)
{
    foundation_test::DcTestSurface pixels(10, 1, RGB(255, 255, 255));
    CDC dc;
    ASSERT_TRUE(dc.Attach(pixels.GetDC()));
    EXPECT_FALSE(IsContextRTL(&dc));

    SetContextRTL(&dc, LAYOUT_RTL);
    EXPECT_TRUE(IsContextRTL(&dc));
    EXPECT_EQ(GetDCLayout(dc), static_cast<DWORD>(LAYOUT_RTL));
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    EXPECT_EQ(pixels.Pixel(9, 0), RGB(255, 0, 0));
    EXPECT_EQ(pixels.Pixel(0, 0), RGB(255, 255, 255));

    SetDCLayout(dc, 0);
    EXPECT_FALSE(IsContextRTL(&dc));
    SetPixel(dc, 0, 0, RGB(0, 0, 255));
    EXPECT_EQ(pixels.Pixel(0, 0), RGB(0, 0, 255));
    dc.Detach();

    EXPECT_FALSE(IsContextRTL(nullptr));
    SetContextRTL(nullptr, LAYOUT_RTL);
}

TEST(LayoutFunctions, WithoutGetLayoutEveryContextIsLeftToRight)
{
    foundation_test::DcTestSurface pixels(4, 1, RGB(255, 255, 255));
    CDC dc;
    ASSERT_TRUE(dc.Attach(pixels.GetDC()));
    SetDCLayout(dc, LAYOUT_RTL);
    ASSERT_TRUE(IsContextRTL(&dc));

    // kernel32 exports neither function.
    COSMLayoutFunctions missing("kernel32.dll");
    EXPECT_EQ(missing.GetLayout(dc), 0u);
    EXPECT_FALSE(missing.IsContextRTL(&dc));
    missing.SetContextRTL(&dc, 0);
    EXPECT_TRUE(IsContextRTL(&dc)) << "a missing SetLayout changes nothing";

    EXPECT_EQ(&GetLayoutFunctions(), &GetLayoutFunctions());
    dc.Detach();
}
