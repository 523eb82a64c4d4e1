// Where the running program lives: the boot images ship in "ISO" beside it.
#pragma once

#include <cstddef>

// The road that finds the executable's path on this system: a Toolhelp process walk on the 9x family,
// psapi's module file name on the NT family.
enum class ProgramPathRoad
{
    Toolhelp,
    Psapi,
    None
};

ProgramPathRoad ChooseProgramPathRoad();

// Writes the folder of the running executable, without a trailing backslash, into buffer.
// Returns buffer, or nullptr (buffer then empty) when the path cannot be found or does not fit.
char* GetProgramFolder(char* buffer, std::size_t size);
