// A boot image that proves it was booted: a few x86 instructions that write a marker to the first serial port
// and halt, padded to the 2048 bytes a no-emulation entry loads.
#pragma once

#include <string>

namespace osm::test {

std::string SerialBootImage(const std::string& marker);

}  // namespace osm::test
