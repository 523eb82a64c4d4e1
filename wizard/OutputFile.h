// COutputFile: a file the writers create afresh (an existing one is replaced) and fill. In text mode every "\n"
// reaches the disk as carriage return and line feed, as the set-up scripts and the answer file need; in binary
// mode the bytes go as given. The handle closes itself.
#pragma once

#include "classlib/ScopedHandle.h"

#include <windows.h>

#include <cstddef>
#include <string>

class COutputFile
{
public:
    enum class Mode
    {
        Text,
        Binary
    };

    COutputFile() = default;
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;

    // False when the file cannot be created; the thread's last error then tells why.
    bool Create(const char* path, Mode mode);
    // False when a write fails (last error set); later writes are then refused too.
    bool Write(const std::string& text);
    bool Write(const void* data, size_t size);
    // Closes the file; false when a write or the close failed, with the last error of that failure.
    bool Close();

private:
    bool WriteRaw(const char* data, size_t size);

    ScopedKernelHandle m_file;
    Mode m_mode = Mode::Text;
    DWORD m_failure = ERROR_SUCCESS;
};
