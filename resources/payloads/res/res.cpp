// res: sets the display mode of the machine it runs on. The "$OEM$" set-up scripts run it on the newly installed
// Windows with the mode of the machine that built the disc:
//
//   res.exe /<width> /<height> /<bits per pixel> [/<frequency>]
//
// Exit codes: 0 the mode is set (or stored for the next start), 1 the arguments are wrong, 2 the display refuses
// the mode. Results go to standard output, complaints to standard error.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

enum ExitCode
{
    kModeSet = 0,
    kBadArguments = 1,
    kModeRefused = 2
};

const char kUsage[] = "Usage: res.exe /<width> /<height> /<bits per pixel> [/<frequency>]\n";

// Far above any real mode, yet small enough that the digits cannot overflow.
constexpr DWORD kLargestValue = 1000000;

// "/" followed by a positive decimal number and nothing else.
bool ParseValue(const char* argument, DWORD& value)
{
    if (argument[0] != '/' || argument[1] == '\0')
        return false;
    DWORD number = 0;
    for (const char* p = argument + 1; *p; ++p)
    {
        if (*p < '0' || *p > '9')
            return false;
        number = number * 10 + static_cast<DWORD>(*p - '0');
        if (number > kLargestValue)
            return false;
    }
    if (number == 0)
        return false;
    value = number;
    return true;
}

const char* DescribeRefusal(LONG result)
{
    switch (result)
    {
    case DISP_CHANGE_BADMODE:
        return "the display does not support this mode";
    case DISP_CHANGE_FAILED:
        return "the display driver failed to set the mode";
    case DISP_CHANGE_BADPARAM:
        return "the display driver rejects the values";
    case DISP_CHANGE_BADFLAGS:
        return "the display driver rejects the request";
    case DISP_CHANGE_NOTUPDATED:
        return "the mode could not be stored in the registry";
    case DISP_CHANGE_BADDUALVIEW:
        return "the display is part of a dual view";
    default:
        return "the display refuses the mode";
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "/?") == 0)
    {
        std::fputs(kUsage, stdout);
        return kModeSet;
    }
    if (argc < 4 || argc > 5)
    {
        std::fprintf(stderr, "res: expected 3 or 4 values, got %d.\n%s", argc - 1, kUsage);
        return kBadArguments;
    }
    DWORD values[4] = {};
    for (int i = 1; i < argc; ++i)
    {
        if (!ParseValue(argv[i], values[i - 1]))
        {
            std::fprintf(stderr, "res: \"%s\" is not a slash followed by a positive number.\n%s", argv[i], kUsage);
            return kBadArguments;
        }
    }

    DEVMODEA mode = {};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = values[0];
    mode.dmPelsHeight = values[1];
    mode.dmBitsPerPel = values[2];
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
    char description[96];
    if (argc == 5)
    {
        mode.dmDisplayFrequency = values[3];
        mode.dmFields |= DM_DISPLAYFREQUENCY;
        std::snprintf(description, sizeof(description), "%lux%lu, %lu bits per pixel, %lu Hz", values[0], values[1],
                      values[2], values[3]);
    }
    else
    {
        std::snprintf(description, sizeof(description), "%lux%lu, %lu bits per pixel", values[0], values[1], values[2]);
    }

    // Asked first, so a refused mode leaves both the screen and the stored mode alone.
    LONG result = ChangeDisplaySettingsA(&mode, CDS_TEST);
    if (result == DISP_CHANGE_SUCCESSFUL)
    {
        // Stored as well, so the mode outlives this logon.
        result = ChangeDisplaySettingsA(&mode, CDS_UPDATEREGISTRY);
    }
    switch (result)
    {
    case DISP_CHANGE_SUCCESSFUL:
        std::printf("Display mode set to %s.\n", description);
        return kModeSet;
    case DISP_CHANGE_RESTART:
        std::printf("Display mode %s stored; it takes effect after a restart.\n", description);
        return kModeSet;
    default:
        std::fprintf(stderr, "res: cannot set %s: %s (%ld).\n", description, DescribeRefusal(result), result);
        return kModeRefused;
    }
}
