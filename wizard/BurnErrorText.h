// The image writer's result numbers in words, as the page's log line shows them.
#pragma once

#include <cstdint>

// The text of result 1..38; nullptr for any other number (the log then stays as it was).
const char* BurnErrorText(std::uint32_t number);
