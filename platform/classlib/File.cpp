#include "classlib/File.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)

// CFileException

CFileException::CFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName)
{}

CFileException::CFileException(const CFileException& other)
    : CException(), m_cause(other.m_cause), m_lOsError(other.m_lOsError), m_strFileName(other.m_strFileName)
{}

CFileException& CFileException::operator=(const CFileException& other)
{
    m_cause = other.m_cause;
    m_lOsError = other.m_lOsError;
    m_strFileName = other.m_strFileName;
    return *this;
}

int PASCAL CFileException::OsErrorToException(LONG lOsError)
{
    switch (lOsError)
    {
    case NO_ERROR:
        return none;
    case ERROR_FILE_NOT_FOUND:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_CANNOT_MAKE:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return accessDenied;
    case ERROR_INVALID_HANDLE:
    case ERROR_INVALID_TARGET_HANDLE:
        return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
        return removeCurrentDir;
    case ERROR_NO_MORE_FILES:
        return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
        return badSeek;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_IO_DEVICE:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_LOCK_FAILED:
        return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return osm_classlib_detail::CopyErrorMessage(GetErrorMessage(), lpszError, nMaxError, pnHelpContext);
}

CString CFileException::GetErrorMessage() const
{
    CString text;
    if (m_lOsError > 0)
    {
        char* buffer = nullptr;
        DWORD length = ::FormatMessageA(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
            static_cast<DWORD>(m_lOsError), 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
        if (length && buffer)
            text = CString(buffer, static_cast<int>(length)).TrimRight();
        if (buffer)
            ::LocalFree(buffer);
    }
    if (text.IsEmpty())
        text.Format("File error %d.", m_cause);
    if (!m_strFileName.IsEmpty())
        text = "\"" + m_strFileName + "\": " + text;
    return text;
}

void AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

// CFile

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(false) {}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags)
{
    Open(lpszFileName, nOpenFlags, nullptr);
}

CFile::~CFile()
{
    if (IsOpen() && m_bCloseOnDelete)
        Close();
}

BOOL CFile::Fail(CFileException* pError) const
{
    const LONG osError = static_cast<LONG>(::GetLastError());
    m_error = CFileException(CFileException::OsErrorToException(osError), osError, m_strFileName);
    if (pError)
        *pError = m_error;
    return FALSE;
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (IsOpen())
        Close();
    m_strFileName = lpszFileName;
    m_error = CFileException();
    if (pError)
        *pError = m_error;

    DWORD access = 0;
    switch (nOpenFlags & 3)
    {
    case modeRead:
        access = GENERIC_READ;
        break;
    case modeWrite:
        access = GENERIC_WRITE;
        break;
    default:
        access = GENERIC_READ | GENERIC_WRITE;
        break;
    }
    DWORD share = 0;
    switch (nOpenFlags & 0x70)
    {
    case shareDenyWrite:
        share = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        share = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    default:  // shareCompat and shareExclusive
        break;
    }
    DWORD disposition = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        disposition = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (nOpenFlags & osNoBuffer)
        attributes |= FILE_FLAG_NO_BUFFERING;
    if (nOpenFlags & osWriteThrough)
        attributes |= FILE_FLAG_WRITE_THROUGH;
    if (nOpenFlags & osRandomAccess)
        attributes |= FILE_FLAG_RANDOM_ACCESS;
    if (nOpenFlags & osSequentialScan)
        attributes |= FILE_FLAG_SEQUENTIAL_SCAN;
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};

    HANDLE hFile = ::CreateFileA(lpszFileName, access, share, &security, disposition, attributes, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return Fail(pError);
    m_hFile = hFile;
    m_bCloseOnDelete = true;
    return TRUE;
}

BOOL CFile::ReadRaw(void* lpBuf, DWORD nCount, DWORD* pnRead)
{
    *pnRead = 0;
    if (nCount == 0)
        return TRUE;
    if (!::ReadFile(m_hFile, lpBuf, nCount, pnRead, nullptr))
        return Fail();
    return TRUE;
}

BOOL CFile::WriteRaw(const void* lpBuf, DWORD nCount)
{
    if (nCount == 0)
        return TRUE;
    DWORD written = 0;
    if (!::WriteFile(m_hFile, lpBuf, nCount, &written, nullptr))
        return Fail();
    if (written != nCount)
    {
        ::SetLastError(ERROR_DISK_FULL);
        return Fail();
    }
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    DWORD read = 0;
    ReadRaw(lpBuf, nCount, &read);
    return read;
}

BOOL CFile::Write(const void* lpBuf, UINT nCount)
{
    return WriteRaw(lpBuf, nCount);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LARGE_INTEGER distance;
    distance.QuadPart = lOff;
    LARGE_INTEGER position{};
    if (!::SetFilePointerEx(m_hFile, distance, &position, nFrom))
    {
        Fail();
        return static_cast<ULONGLONG>(-1);
    }
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero{};
    LARGE_INTEGER position{};
    if (!::SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT))
    {
        Fail();
        return static_cast<ULONGLONG>(-1);
    }
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(m_hFile, &size))
    {
        Fail();
        return 0;
    }
    return static_cast<ULONGLONG>(size.QuadPart);
}

BOOL CFile::SetLength(ULONGLONG dwNewLen)
{
    ULONGLONG position = GetPosition();
    if (Seek(static_cast<LONGLONG>(dwNewLen), begin) == static_cast<ULONGLONG>(-1))
        return FALSE;
    if (!::SetEndOfFile(m_hFile))
        return Fail();
    if (position < dwNewLen)
        Seek(static_cast<LONGLONG>(position), begin);
    return TRUE;
}

BOOL CFile::Flush()
{
    if (!IsOpen())
        return TRUE;
    return ::FlushFileBuffers(m_hFile) ? TRUE : Fail();
}

void CFile::Close()
{
    if (IsOpen() && !::CloseHandle(m_hFile))
        Fail();
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = false;
}

void CFile::Abort()
{
    if (IsOpen())
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = false;
}

CString CFile::GetFileName() const
{
    int slash = std::max(m_strFileName.ReverseFind('\\'), m_strFileName.ReverseFind('/'));
    return m_strFileName.Mid(slash + 1);
}

CString CFile::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}

BOOL PASCAL CFile::Remove(LPCSTR lpszFileName, CFileException* pError)
{
    if (::DeleteFileA(lpszFileName))
        return TRUE;
    if (pError)
    {
        LONG osError = static_cast<LONG>(::GetLastError());
        *pError = CFileException(CFileException::OsErrorToException(osError), osError, lpszFileName);
    }
    return FALSE;
}

BOOL PASCAL CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName, CFileException* pError)
{
    if (::MoveFileA(lpszOldName, lpszNewName))
        return TRUE;
    if (pError)
    {
        LONG osError = static_cast<LONG>(::GetLastError());
        *pError = CFileException(CFileException::OsErrorToException(osError), osError, lpszOldName);
    }
    return FALSE;
}

// CStdioFile

namespace {
const size_t kReadAhead = 4096;
}

CStdioFile::CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags)
{
    Open(lpszFileName, nOpenFlags, nullptr);
}

BOOL CStdioFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    m_bText = !(nOpenFlags & typeBinary);
    m_readBuffer.clear();
    m_readPos = 0;
    return CFile::Open(lpszFileName, nOpenFlags & ~(typeText | typeBinary), pError);
}

bool CStdioFile::FillBuffer()
{
    m_readBuffer.resize(kReadAhead);
    DWORD read = 0;
    if (!ReadRaw(&m_readBuffer[0], static_cast<DWORD>(kReadAhead), &read))
        read = 0;
    m_readBuffer.resize(read);
    m_readPos = 0;
    return read > 0;
}

int CStdioFile::PeekByte()
{
    if (m_readPos >= m_readBuffer.size() && !FillBuffer())
        return -1;
    return static_cast<unsigned char>(m_readBuffer[m_readPos]);
}

int CStdioFile::GetByte()
{
    int c = PeekByte();
    if (c >= 0)
        ++m_readPos;
    return c;
}

void CStdioFile::DropReadAhead()
{
    // Move the handle back to where the reader is, so writes and seeks happen at the logical position.
    size_t unread = m_readBuffer.size() - m_readPos;
    if (unread > 0)
        CFile::Seek(-static_cast<LONGLONG>(unread), current);
    m_readBuffer.clear();
    m_readPos = 0;
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    auto* out = static_cast<char*>(lpBuf);
    UINT count = 0;
    while (count < nCount)
    {
        int c = GetByte();
        if (c < 0)
            break;
        if (m_bText && c == '\r' && PeekByte() == '\n')
            c = GetByte();
        out[count++] = static_cast<char>(c);
    }
    return count;
}

BOOL CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    DropReadAhead();
    if (!m_bText)
        return WriteRaw(lpBuf, nCount);
    const char* text = static_cast<const char*>(lpBuf);
    std::string translated;
    translated.reserve(nCount + nCount / 16 + 2);
    for (UINT i = 0; i < nCount; ++i)
    {
        if (text[i] == '\n')
            translated.push_back('\r');
        translated.push_back(text[i]);
    }
    return WriteRaw(translated.data(), static_cast<DWORD>(translated.size()));
}

BOOL CStdioFile::WriteString(LPCSTR lpsz)
{
    return lpsz ? Write(lpsz, static_cast<UINT>(std::strlen(lpsz))) : TRUE;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    rString.Empty();
    std::string line;
    int c = GetByte();
    if (c < 0)
        return FALSE;
    for (; c >= 0; c = GetByte())
    {
        if (c == '\n')
            break;
        if (c == '\r' && PeekByte() == '\n')
        {
            GetByte();
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    rString = CString(line);
    return TRUE;
}

LPSTR CStdioFile::ReadString(LPSTR lpsz, UINT nMax)
{
    if (!lpsz || nMax == 0)
        return nullptr;
    UINT count = 0;
    while (count + 1 < nMax)
    {
        char c;
        if (Read(&c, 1) != 1)
            break;
        lpsz[count++] = c;
        if (c == '\n')
            break;
    }
    lpsz[count] = '\0';
    return count ? lpsz : nullptr;
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    DropReadAhead();
    return CFile::Seek(lOff, nFrom);
}

ULONGLONG CStdioFile::GetPosition() const
{
    ULONGLONG position = CFile::GetPosition();
    if (position == static_cast<ULONGLONG>(-1))
        return position;
    return position - (m_readBuffer.size() - m_readPos);
}

ULONGLONG CStdioFile::GetLength() const
{
    return CFile::GetLength();
}

BOOL CStdioFile::SetLength(ULONGLONG dwNewLen)
{
    DropReadAhead();
    return CFile::SetLength(dwNewLen);
}

BOOL CStdioFile::Flush()
{
    DropReadAhead();
    return CFile::Flush();
}

void CStdioFile::Close()
{
    m_readBuffer.clear();
    m_readPos = 0;
    CFile::Close();
}

void CStdioFile::Abort()
{
    m_readBuffer.clear();
    m_readPos = 0;
    CFile::Abort();
}
