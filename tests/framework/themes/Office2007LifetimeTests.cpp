// The Office 2007 images at exit, seen from a probe program of their own (Office2007LifetimeProbe.cpp): the
// process's look releases them while they live, they go right after it, a look released later finds none, and the
// program ends normally.
#include "ProgramDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(Office2007ImagesLifetime, TheImagesGoRightAfterTheProcessLookAndTheProgramEndsNormally)
{
    DWORD exitCode = 1;
    const std::string output = osm::test::RunProgramBeside("office2007_lifetime_probe.exe", &exitCode);
    EXPECT_EQ(exitCode, 0u) << output;
    EXPECT_EQ(output, "theme text: loaded\n"
                      "images loaded: 3\n"
                      "look: 5\n"
                      "status bar drawn: yes\n"
                      "main returns\n"
                      "process look released: images alive, 0 images left\n"
                      "late look released: images none\n"
                      "after the end: images gone, 0 images\n");
}

}  // namespace
