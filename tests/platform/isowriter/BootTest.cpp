// The image boots: a PC emulator loads the no-emulation boot image through the catalog and runs it.
#include "IsoTestSupport.h"

#include <gtest/gtest.h>

namespace osm::iso::test {
namespace {

// The emulator runs on the host: this test is built into the native tree.
#ifndef _WIN32
TEST(BootTest, EmulatedPcRunsTheBootImage)
{
    if (!haveReader("qemu-system-x86_64", "qemu-system-x86"))
        GTEST_SKIP() << "qemu-system-x86_64 is not installed (package qemu-system-x86): the boot test did not run";
    ScratchDir scratch;
    const std::string marker = "OSMIRA-BOOT-OK";
    writeFile(scratch / "boot.img", SerialBootImage(marker));
    writePattern(scratch / "dist" / "I386" / "SETUPLDR.BIN", 4000, 9);
    TreeSession session;
    ASSERT_EQ(session.addTopLevel(scratch / "dist"), 0u) << session.text();
    ASSERT_EQ(session.setBoot(scratch / "boot.img"), 0u) << session.text();  // 6, 0, 4, 0 as the wizard passes
    ASSERT_EQ(session.build(), 0u) << session.text();
    const fs::path image = scratch / "boot.iso";
    ASSERT_EQ(session.writeImage(image), 0u) << session.text();

    // The emulator runs until the marker arrives on the serial port, 20 s at most.
    const fs::path serial = scratch / "serial.txt";
    const std::string command =
        "qemu-system-x86_64 -accel tcg -m 32 -display none -no-reboot -nodefaults -serial file:" + serial.u8string() +
        " -cdrom " + quote(image) +
        " -boot d & pid=$!; "
        "for i in $(seq 200); do grep -q " +
        marker + " " + quote(serial) +
        " 2>/dev/null && break; sleep 0.1; done; "
        "kill $pid 2>/dev/null; wait $pid 2>/dev/null; true";
    std::string log;
    run(command, &log);
    EXPECT_NE(readFile(serial).find(marker), std::string::npos) << "serial output: " << readFile(serial) << "\n" << log;
}
#endif

}  // namespace
}  // namespace osm::iso::test
