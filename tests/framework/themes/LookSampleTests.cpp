// The Default look's picture, kept with the CI artefacts.
#include "LookSample.h"
#include "PaintManagerTestSupport.h"

#include <gtest/gtest.h>

using foundation_test::PaintManagerTest;

TEST_F(PaintManagerTest, TheDefaultLookSampleIsWritten)
{
    COSMPaintManager::RegisterThemes();
    const themes_test::LookSample sample = themes_test::WriteLookSample(0, "default");
    ASSERT_EQ("", sample.failure);
    EXPECT_NE(std::string::npos, sample.path.find("look-default.bmp"));
    EXPECT_GT(sample.colorCount, 1u);
    EXPECT_EQ(sample.expectedFace, sample.dockedToolBarFace);
}
