// CFile owns a Win32 file handle (closed when the object goes) and reads and writes bytes; CStdioFile adds text lines.
// Failures are reported by the return value, never by an exception; the reason is kept in a CFileException record
// (GetError, or the record passed to Open).
//
//   CStdioFile file;
//   CFileException error;
//   if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText, &error))
//       return ReportError(error.GetErrorMessage());
//   file.WriteString("[Unattended]\n");        // written as "[Unattended]\r\n"
#pragma once

#include "classlib/CString.h"
#include "classlib/Exception.h"
#include "classlib/Object.h"

// Why a file operation failed: m_cause is one of the enum values, m_lOsError the system's error code. CFile only
// records it; an archive over a failing file throws one (AfxThrowFileException).
class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)

public:
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszFileName = nullptr);
    CFileException(const CFileException& other);
    CFileException& operator=(const CFileException& other);

    static int PASCAL OsErrorToException(LONG lOsError);
    // The system's text for m_lOsError (or a generic one), with the file name where the text has a place for it.
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
    CString GetErrorMessage() const;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)

public:
    enum OpenFlags : UINT
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,  // CStdioFile only
        typeBinary = 0x8000,
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000,
    };
    enum SeekPosition : UINT
    {
        begin = FILE_BEGIN,
        current = FILE_CURRENT,
        end = FILE_END
    };

    CFile() = default;
    explicit CFile(HANDLE hFile);  // takes over an open handle
    // Opens at once; check IsOpen (or GetError) afterwards.
    CFile(LPCSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    // Returns the number of bytes read: fewer than nCount at the end of the file, 0 on an error too.
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual BOOL Write(const void* lpBuf, UINT nCount);
    // Returns the new position, or (ULONGLONG)-1 on an error.
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual BOOL SetLength(ULONGLONG dwNewLen);
    virtual BOOL Flush();
    virtual void Close();
    // Closes without reporting errors.
    virtual void Abort();

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    operator HANDLE() const { return m_hFile; }
    CString GetFileName() const;
    CString GetFileTitle() const;
    CString GetFilePath() const { return m_strFileName; }
    // The reason the last failing operation failed.
    const CFileException& GetError() const { return m_error; }

    static BOOL PASCAL Remove(LPCSTR lpszFileName, CFileException* pError = nullptr);
    static BOOL PASCAL Rename(LPCSTR lpszOldName, LPCSTR lpszNewName, CFileException* pError = nullptr);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;

protected:
    // For the library's own use: records the system's last error as the reason; always returns FALSE.
    BOOL Fail(CFileException* pError = nullptr) const;
    BOOL ReadRaw(void* lpBuf, DWORD nCount, DWORD* pnRead);
    BOOL WriteRaw(const void* lpBuf, DWORD nCount);

    CString m_strFileName;
    mutable CFileException m_error;
    bool m_bCloseOnDelete = false;
};

// A CFile that reads and writes lines. In text mode (the default; typeBinary turns it off) every "\n" is written as
// "\r\n" (so text handed to it ends its lines with "\n" alone) and "\r\n" is read as "\n".
class CStdioFile : public CFile
{
    DECLARE_DYNAMIC(CStdioFile)

public:
    CStdioFile() = default;
    CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags);

    // Writes the text as it is (no line end is added).
    virtual BOOL WriteString(LPCSTR lpsz);
    // The next line without its line end; FALSE at the end of the file.
    virtual BOOL ReadString(CString& rString);
    // Like fgets: at most nMax - 1 characters, keeping the "\n"; null at the end of the file.
    virtual LPSTR ReadString(LPSTR lpsz, UINT nMax);

    BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
    UINT Read(void* lpBuf, UINT nCount) override;
    BOOL Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    BOOL SetLength(ULONGLONG dwNewLen) override;
    BOOL Flush() override;
    void Close() override;
    void Abort() override;

private:
    // Read-ahead buffer: the file's handle position is past its end.
    int GetByte();
    int PeekByte();
    bool FillBuffer();
    void DropReadAhead();

    bool m_bText = true;
    std::string m_readBuffer;
    size_t m_readPos = 0;
};
