# Cross build for 32-bit Windows: the program handed to users, for Windows XP and later. Its programs cannot run
# here (there is no 32-bit Wine); its tests check instead that Windows XP would start them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(OSM_MINGW_TRIPLE i686-w64-mingw32)
# The win32 thread model: the posix one links winpthreads, whose GetTickCount64 import stops a program on XP.
# Its price: no std::mutex (the class library's CCriticalSection serves) and no GoogleTest, which this tree
# does not build.
set(OSM_MINGW_THREADS win32)
set(OSM_WINDOWS_XP ON)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
