// WriterTexts: the exact words of the Windows XP writers in one table: their messages, captions and the names of
// the files and folders they make. A "%s" in a message is filled by FillText, never by a printf-style format,
// because the paths it takes may hold '%' themselves.
#pragma once

#include <string>

namespace WriterTexts {

// Captions.
inline constexpr char kCaptionCorvane[] = "Taleno Corvane";
inline constexpr char kCaptionFailed[] = "Failed";

// Messages; the system's text for the last error follows the first two directly.
inline constexpr char kErrorWithFile[] = "Error with file %s. ";
inline constexpr char kCantCreateFile[] = "Can't create file %s. ";
inline constexpr char kCantCreateFolder[] = "Can't create: ";
inline constexpr char kCantLoadTool[] = "Can't load file: ";
inline constexpr char kCantCreateTool[] = "Can't create file: ";
inline constexpr char kErrorCopyingKit[] = "Error copying Corvane folder.";
inline constexpr char kErrorCreatingFolder[] = "Error creating folder %s. ";

// The distribution folder's parts, each with its leading backslash.
inline constexpr char kAnswerFile[] = "\\I386\\WINNT.SIF";
inline constexpr char kKitTarget[] = "\\Software";
inline constexpr char kAllFiles[] = "\\*.*";
inline constexpr char kOemFolder[] = "\\$OEM$";
inline constexpr char kWindowsFolder[] = "\\$$";
inline constexpr char kCursorsFolder[] = "\\Cursors";

// The "$OEM$" files; "keydoard.cmd" is spelled so on purpose, as "First.cmd" calls it.
inline constexpr char kKeyboardCmd[] = "\\keydoard.cmd";
inline constexpr char kMouseCmd[] = "\\mouse.cmd";
inline constexpr char kDesktopCmd[] = "\\desktop.cmd";
inline constexpr char kCmdLinesTxt[] = "\\cmdlines.txt";
inline constexpr char kCorvaneCmd[] = "\\Corvane.cmd";
inline constexpr char kRestartCmd[] = "\\Restart.cmd";
inline constexpr char kRunOnceExCuCmd[] = "\\RunOnceExCU.cmd";
inline constexpr char kRunOnceExCmd[] = "\\RunOnceEx.cmd";
inline constexpr char kFirstCmd[] = "\\First.cmd";
inline constexpr char kResolutionTool[] = "\\res.exe";

// Copies of the build machine's pictures: "\c1" .. "\c15" and "\Wall1", each followed by the source's extension.
inline constexpr char kCursorCopyPrefix[] = "\\c";
inline constexpr char kWallpaperCopy[] = "\\Wall1";

// The pattern with its (first) "%s" replaced by value, taken literally.
inline std::string FillText(const char* pattern, const std::string& value)
{
    std::string text(pattern);
    const std::string::size_type at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, value);
    return text;
}

}  // namespace WriterTexts
