#include "wizard/BurnErrorText.h"

namespace {

const char* const kTexts[] = {
    "Undefined error happened, something goes really wrong",
    "User input parameter is not valid",
    "The state of the object is not valid for current operation",
    "Memory allocation failed",
    "System call failed, check SystemError pointer to system error value",
    "SCSI transport internal error",
    "SCSI device is busy for a while",
    "SCSI CDB delivery failed, check CDB_FAILURE_INFORMATION for details",
    "SCSI device of this type is not supported",
    "Something really unsupposed returned",
    "Buffer underrun happened",
    "Exception was not allocated",
    "Access to feature denied b/s of the wrong version",
    "This is not a real exception just the result of user interaction",
    "File path is too long",
    "This feature is still under construction",
    "Operation could not be performed b/s either device or requested parameter not found",
    "File is too big for requested operation",
    "Feature is not implemented yet",
    "Passed range is not valid",
    "Registration procedure completed with errors",
    "Unsupported audio format used as either input or output",
    "Buffer size supplied by caller is not sufficient",
    "Middle-layer error happened, check SystemError pointer for specific error value",
    "Error recovery failed",
    "Current media type is not recognized",
    "General seek error on CD/DVD/Blu-Ray/HD-DVD media",
    "General read error on CD/DVD/Blu-Ray/HD-DVD media",
    "Illegal operation for track",
    "Currently selected read mode is not supported by device",
    "Request size is too large to be handled",
    "Full erase required before recording to inserted media",
    "Verify operation found different memory buffers",
    "DPM associated call failed",
    "Device failed to open b/s of sharing violation",
    "Function is obsolete",
    "OS version is not supported",
    "Invalid field in CDB",
};

}  // namespace

const char* BurnErrorText(std::uint32_t number)
{
    if (number < 1 || number > sizeof(kTexts) / sizeof(kTexts[0]))
        return nullptr;
    return kTexts[number - 1];
}
