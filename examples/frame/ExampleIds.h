// Resource and command ids of the example frame.
#pragma once

#define IDR_EXAMPLE_MENU 100
#define IDR_EXAMPLE_STANDARD 101

#define ID_EXAMPLE_NEW 0x8001
#define ID_EXAMPLE_OPEN 0x8002
#define ID_EXAMPLE_SAVE 0x8003
#define ID_EXAMPLE_EXIT 0x8004
#define ID_EXAMPLE_ABOUT 0x8005
