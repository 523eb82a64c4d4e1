#include "wizard/OutputFile.h"

bool COutputFile::Create(const char* path, Mode mode)
{
    // The old file is closed first: the new one may be the same file, which an open handle would keep shared.
    m_file.Reset();
    m_mode = mode;
    m_failure = ERROR_SUCCESS;
    m_file.Reset(
        CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return m_file.IsValid();
}

bool COutputFile::Write(const std::string& text)
{
    if (m_mode == Mode::Binary)
        return WriteRaw(text.data(), text.size());
    std::string translated;
    translated.reserve(text.size() + text.size() / 16);
    for (char c : text)
    {
        if (c == '\n')
            translated += '\r';
        translated += c;
    }
    return WriteRaw(translated.data(), translated.size());
}

bool COutputFile::Write(const void* data, size_t size)
{
    if (m_mode == Mode::Text)
        return Write(std::string(static_cast<const char*>(data), size));
    return WriteRaw(static_cast<const char*>(data), size);
}

bool COutputFile::WriteRaw(const char* data, size_t size)
{
    if (!m_file)
    {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (m_failure != ERROR_SUCCESS)
    {
        SetLastError(m_failure);
        return false;
    }
    while (size > 0)
    {
        // WriteFile takes 32-bit counts; larger blocks go in pieces.
        const DWORD piece = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(m_file.Get(), data, piece, &written, nullptr) || written != piece)
        {
            m_failure = GetLastError();
            if (m_failure == ERROR_SUCCESS)
                m_failure = ERROR_WRITE_FAULT;
            SetLastError(m_failure);
            return false;
        }
        data += piece;
        size -= piece;
    }
    return true;
}

bool COutputFile::Close()
{
    if (!m_file)
        return m_failure == ERROR_SUCCESS;
    // Closed here rather than by the holder: a failed close is a failed write.
    const BOOL closed = CloseHandle(m_file.Release());
    if (m_failure != ERROR_SUCCESS)
    {
        SetLastError(m_failure);
        return false;
    }
    return closed != FALSE;
}
