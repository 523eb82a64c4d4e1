set(CMAKE_C_COMPILER ${OSM_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OSM_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${OSM_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${OSM_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Only the system's DLLs at run time: no libstdc++/libgcc/winpthread DLLs to ship.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  # Filled in by the top-level list with the build tree's own Wine wrapper.
  set(OSM_WANT_WINE_EMULATOR ON)
endif()
