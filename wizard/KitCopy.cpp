// The companion kit's copy into the distribution, where the set-up scripts start its player from the disc.
#include "wizard/UnattendSettings.h"

#include "wizard/UserMessage.h"
#include "wizard/WriterTexts.h"

#include <shellapi.h>

BOOL CUnattendSettings::CopyKitFolder(HWND owner, const char* sourcePattern, const char* targetFolder)
{
    // The shell's file operation takes lists: each path ends with a second terminating zero.
    std::string from = sourcePattern ? sourcePattern : "";
    std::string to = targetFolder ? targetFolder : "";
    from.push_back('\0');
    to.push_back('\0');

    // Made beforehand: the shell would copy a kit of one file onto a file named like the target folder.
    CreateDirectoryA(to.c_str(), nullptr);

    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = owner;
    operation.wFunc = FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    // No questions and no asking before the target folder is made; the shell's progress and errors still show.
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR;
    if (SHFileOperationA(&operation) != 0)
    {
        // The page owns the message, as it owns the shell's own windows of this copy.
        ShowUserMessage(owner, WriterTexts::kErrorCopyingKit, WriterTexts::kCaptionCorvane, MB_ICONERROR);
        return FALSE;
    }
    m_kitCopied = 1;
    return TRUE;
}
