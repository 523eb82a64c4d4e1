// The one writer of the pictures tests keep with the CI artefacts: a window as it is on the screen, or any DC's
// rectangle, as a 24-bit BMP in the build tree's artefacts folder (which .ci/run lists).
//
//   WriteWindowBitmap(frame.GetSafeHwnd(), ArtefactsFolder() + "/look-default.bmp");
#pragma once

#include <windows.h>

#include <string>

namespace osm::test {

// The build tree's artefacts folder, made when missing.
std::string ArtefactsFolder();
// The DC's rectangle (DC coordinates) as a 24-bit BMP; false when any step fails.
bool WriteDcBitmap(HDC source, const RECT& area, const std::string& path);
// The window as it is on the screen; false when any step fails.
bool WriteWindowBitmap(HWND window, const std::string& path);
// A name made of the running test's suite and name that a file system takes ("Suite.Case_3" → "Suite-Case_3").
std::string CurrentTestFileName();

}  // namespace osm::test
