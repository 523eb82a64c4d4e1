// Failure of an image-writer operation: the number the caller sees, a text naming what is at fault, and the
// system's error value when a system call failed.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace osm::iso {

// Same numbers as the public results; only those the writer raises are named.
enum class ErrorCode : std::uint32_t
{
    Undefined = 1,
    InvalidParameter = 2,
    InvalidState = 3,
    OutOfMemory = 4,
    SystemCall = 5,
    UnexpectedResult = 10,
    Cancelled = 14,
    PathTooLong = 15,
    NotFound = 17,
    FileTooBig = 18,
    NotImplemented = 19,
    InvalidRange = 20,
};

class IsoError : public std::runtime_error
{
public:
    IsoError(ErrorCode code, const std::string& message, std::uint32_t systemError = 0);

    // Failure of a system call: the code comes from the system error (missing file or folder: NotFound,
    // anything else: SystemCall); the message gets the system's description appended.
    static IsoError fromSystem(std::uint32_t systemError, const std::string& message);

    // errno on POSIX, GetLastError on Windows, read right after the failing call.
    static std::uint32_t lastSystemError();

    ErrorCode code() const { return code_; }
    std::uint32_t systemError() const { return systemError_; }

private:
    ErrorCode code_;
    std::uint32_t systemError_;
};

}  // namespace osm::iso
