#include "isowriter/IsoError.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace osm::iso {

IsoError::IsoError(ErrorCode code, const std::string& message, std::uint32_t systemError)
    : std::runtime_error(message), code_(code), systemError_(systemError)
{}

std::uint32_t IsoError::lastSystemError()
{
#ifdef _WIN32
    return static_cast<std::uint32_t>(GetLastError());
#else
    return static_cast<std::uint32_t>(errno);
#endif
}

namespace {

bool isMissing(std::uint32_t systemError)
{
#ifdef _WIN32
    return systemError == ERROR_FILE_NOT_FOUND || systemError == ERROR_PATH_NOT_FOUND ||
           systemError == ERROR_INVALID_NAME || systemError == ERROR_BAD_NETPATH;
#else
    return systemError == ENOENT || systemError == ENOTDIR;
#endif
}

std::string describe(std::uint32_t systemError)
{
#ifdef _WIN32
    char text[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, systemError, 0, text,
                             sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ' || text[n - 1] == '.'))
        text[--n] = '\0';
    if (n == 0)
        return "system error " + std::to_string(systemError);
    return text;
#else
    return std::strerror(static_cast<int>(systemError));
#endif
}

}  // namespace

IsoError IsoError::fromSystem(std::uint32_t systemError, const std::string& message)
{
    return IsoError(isMissing(systemError) ? ErrorCode::NotFound : ErrorCode::SystemCall,
                    message + ": " + describe(systemError), systemError);
}

}  // namespace osm::iso
