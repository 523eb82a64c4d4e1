# What a program needs to start on Windows XP SP3, shared by the 32-bit release tree and by the display-mode
# utility that every Windows tree builds for the installed XP machine.
# - Declarations limited to what XP has, so a newer function cannot be called by accident (load one at run
#   time where it is wanted) and structures keep the sizes XP's DLLs accept.
# - A PE header whose OS and subsystem versions XP's loader accepts: it refuses a subsystem version above 5.1.
set(OSM_XP_DEFINITIONS WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0603)
set(OSM_XP_LINK_OPTIONS
  -Wl,--major-os-version,5 -Wl,--minor-os-version,1
  -Wl,--major-subsystem-version,5 -Wl,--minor-subsystem-version,1)
# The 32-bit compiler of the win32 thread model (see mingw-w64-i686.cmake), whichever tree calls it.
find_program(OSM_XP_CXX i686-w64-mingw32-g++-win32 REQUIRED)
find_program(OSM_XP_OBJDUMP i686-w64-mingw32-objdump REQUIRED)
