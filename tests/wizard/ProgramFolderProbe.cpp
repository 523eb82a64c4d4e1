// Prints what GetProgramFolder finds in this process, and by which road, for ProgramFolderTests.
#include <cstdio>

#include "wizard/ProgramFolder.h"

int main()
{
    char folder[260];
    const char* found = GetProgramFolder(folder, sizeof(folder));
    const ProgramPathRoad road = ChooseProgramPathRoad();
    std::printf("road=%s\nfolder=%s\n",
                road == ProgramPathRoad::Toolhelp ? "toolhelp"
                : road == ProgramPathRoad::Psapi  ? "psapi"
                                                  : "none",
                found ? found : "(none)");
    return found ? 0 : 1;
}
