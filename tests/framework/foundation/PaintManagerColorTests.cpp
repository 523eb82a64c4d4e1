// The overridable colour values: which value shows, what the gradient setters keep, and the exact stored form.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "classlib/Archive.h"
#include "classlib/MemFile.h"
#include "framework/foundation/PaintManagerColor.h"

namespace {

using Bytes = std::vector<BYTE>;

template <typename Value> Bytes Store(Value& value)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        value.Serialize(ar);
        ar.Close();
    }
    const ULONGLONG length = file.GetLength();
    BYTE* block = file.Detach();
    Bytes bytes(block, block + length);
    free(block);
    return bytes;
}

template <typename Value> void Load(Value& value, Bytes bytes)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    value.Serialize(ar);
}

}  // namespace

TEST(PaintManagerColor, CustomValueWinsWhileSet)
{
    COSMPaintManagerColor color;
    EXPECT_EQ(color.GetEffective(), COSMPaintManagerColor::kNone);
    EXPECT_FALSE(color.IsCustomValue());

    color.SetStandardValue(RGB(10, 20, 30));
    EXPECT_EQ(static_cast<COLORREF>(color), RGB(10, 20, 30));
    color.SetCustomValue(RGB(200, 0, 0));
    EXPECT_TRUE(color.IsCustomValue());
    EXPECT_EQ(static_cast<COLORREF>(color), RGB(200, 0, 0));
    EXPECT_EQ(color.GetStandardValue(), RGB(10, 20, 30));
    // Black is a colour like any other, not "no override".
    color.SetCustomValue(RGB(0, 0, 0));
    EXPECT_EQ(color.GetEffective(), RGB(0, 0, 0));
    color.ResetCustomValue();
    EXPECT_EQ(color.GetEffective(), RGB(10, 20, 30));
}

TEST(PaintManagerColorGradient, SettersKeepCustomValues)
{
    COSMPaintManagerColorGradient gradient;
    EXPECT_EQ(gradient.First().GetEffective(), COSMPaintManagerColor::kNone);
    EXPECT_EQ(gradient.Second().GetEffective(), COSMPaintManagerColor::kNone);
    EXPECT_EQ(gradient.GetFactor(), 0.5f);

    gradient.Second().SetCustomValue(RGB(9, 9, 9));
    gradient.SetStandardColors(RGB(1, 1, 1), RGB(2, 2, 2), 0.75f);
    EXPECT_EQ(gradient.First().GetEffective(), RGB(1, 1, 1));
    EXPECT_EQ(gradient.Second().GetStandardValue(), RGB(2, 2, 2));
    EXPECT_EQ(gradient.Second().GetEffective(), RGB(9, 9, 9));
    EXPECT_EQ(gradient.GetFactor(), 0.75f);

    gradient.SetStandardColor(RGB(5, 6, 7));
    EXPECT_EQ(gradient.First().GetStandardValue(), RGB(5, 6, 7));
    EXPECT_EQ(gradient.Second().GetStandardValue(), RGB(5, 6, 7));
    EXPECT_EQ(gradient.Second().GetEffective(), RGB(9, 9, 9));
    EXPECT_EQ(gradient.GetFactor(), 0.5f);
}

TEST(PaintManagerColorGradient, SetFromEffectiveTakesTheOtherGradientsVisibleColours)
{
    COSMPaintManagerColorGradient source;
    source.SetStandardColors(RGB(0, 0, 255), RGB(0, 255, 0), 0.3f);
    source.First().SetCustomValue(RGB(255, 0, 0));

    COSMPaintManagerColorGradient target;
    target.First().SetCustomValue(RGB(7, 7, 7));
    target.SetFromEffective(source);
    EXPECT_EQ(target.First().GetStandardValue(), RGB(255, 0, 0));
    EXPECT_EQ(target.Second().GetStandardValue(), RGB(0, 255, 0));
    EXPECT_EQ(target.GetFactor(), 0.3f);
    EXPECT_EQ(target.First().GetEffective(), RGB(7, 7, 7));
    EXPECT_FALSE(target.Second().IsCustomValue());
}

TEST(PaintManagerColor, StoredFormIsTwoLittleEndianDwords)
{
    COSMPaintManagerColor color;
    color.SetStandardValue(RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(Store(color), (Bytes{0x11, 0x22, 0x33, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
    color.SetCustomValue(RGB(0xA0, 0xB0, 0xC0));
    EXPECT_EQ(Store(color), (Bytes{0x11, 0x22, 0x33, 0x00, 0xA0, 0xB0, 0xC0, 0x00}));

    // Loading overwrites both values: a stored override comes back, a stored "none" clears one.
    COSMPaintManagerColor loaded;
    Load(loaded, Store(color));
    EXPECT_EQ(loaded.GetStandardValue(), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(loaded.GetCustomValue(), RGB(0xA0, 0xB0, 0xC0));
    Load(loaded, Bytes{0x01, 0x02, 0x03, 0x00, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(loaded.GetStandardValue(), RGB(1, 2, 3));
    EXPECT_FALSE(loaded.IsCustomValue());
}

TEST(PaintManagerColorGradient, StoredFormIsTwentyBytesAndComesBackEqual)
{
    // The factor's IEEE pattern: 0.5f is 0x3F000000, 0.75f 0x3F400000.
    struct Case
    {
        float factor;
        BYTE third, fourth;
    } cases[] = {{0.5f, 0x00, 0x3F}, {0.75f, 0x40, 0x3F}};
    for (const Case& c : cases)
    {
        COSMPaintManagerColorGradient gradient;
        gradient.SetStandardColors(RGB(1, 2, 3), RGB(4, 5, 6), c.factor);
        gradient.Second().SetCustomValue(RGB(7, 8, 9));
        const Bytes bytes = Store(gradient);
        EXPECT_EQ(bytes,
                  (Bytes{1, 2, 3, 0, 0xFF, 0xFF, 0xFF, 0xFF, 4, 5, 6, 0, 7, 8, 9, 0, 0x00, 0x00, c.third, c.fourth}));

        COSMPaintManagerColorGradient loaded;
        loaded.First().SetCustomValue(RGB(99, 99, 99));
        Load(loaded, bytes);
        EXPECT_EQ(loaded.First().GetStandardValue(), RGB(1, 2, 3));
        EXPECT_FALSE(loaded.First().IsCustomValue());
        EXPECT_EQ(loaded.Second().GetStandardValue(), RGB(4, 5, 6));
        EXPECT_EQ(loaded.Second().GetCustomValue(), RGB(7, 8, 9));
        EXPECT_EQ(loaded.GetFactor(), c.factor);
        EXPECT_EQ(Store(loaded), bytes);
    }
}

TEST(PaintManagerColorGradient, ShortDataRaisesEndOfFile)
{
    COSMPaintManagerColorGradient gradient;
    gradient.SetStandardColors(RGB(1, 2, 3), RGB(4, 5, 6), 0.25f);
    Bytes bytes = Store(gradient);
    bytes.pop_back();
    int cause = -1;
    try
    {
        Load(gradient, bytes);
    }
    catch (CArchiveException* e)
    {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(cause, CArchiveException::endOfFile);
}
