// CArchive is the binary stream objects store themselves in: a buffered reader or writer over a CFile (a disk file,
// or a CMemFile / CSharedFile in memory). One archive goes one way, chosen at construction:
//
//   CMemFile file;
//   CArchive ar(&file, CArchive::store);
//   ar << nWidth << strName;                  // 4 bytes, then the string form
//   ar.WriteCount(items.GetSize());
//   ar.Close();                               // writes the buffer out; the file stays open
//
//   file.SeekToBegin();
//   CArchive in(&file, CArchive::load);
//   in >> nWidth >> strName;                  // raises CArchiveException::endOfFile if the data ends early
//
// The stored forms (all numbers little-endian, the same on 32-bit and 64-bit builds):
//   numbers   BYTE, char and bool 1 byte; WORD and short 2; int, UINT, LONG, DWORD and float 4; double, LONGLONG 8
//   count     below 0xFFFF: 2 bytes; otherwise FF FF and the value in 4 bytes
//   string    the length: 1 byte when below 255; else FF and 2 bytes when below 0xFFFE; else FF FF FF and 4 bytes;
//             then the characters, one byte each, no terminator
//   class     first time: FF FF, the low 16 bits of the class's schema, the name's length in 2 bytes, the name;
//             later: 0x8000 | index in 2 bytes, or, for an index of 0x7FFF and up, 7F FF and 0x80000000 | index
//             in 4 bytes. Indexes count from 1 per archive; each new class and each MapObject takes the next one,
//             up to 0x3FFFFFFE.
//
// Failures raise CArchiveException (endOfFile, badIndex, badClass, badSchema, readOnly, writeOnly), or
// CFileException when the file under the archive fails, or CNotSupportedException for a class without a schema.
// An archive destroyed while an exception unwinds is abandoned (Abort); one destroyed normally is closed, and a
// failure while closing is reported to the debugger and stderr and freed: call Close yourself to handle it.
#pragma once

#include "classlib/CString.h"
#include "classlib/Exception.h"
#include "classlib/File.h"
#include "classlib/Object.h"

#include <cstring>
#include <unordered_map>
#include <vector>

class CArchive
{
public:
    enum Mode : UINT
    {
        store = 0,
        load = 1,
        bNoFlushOnDelete = 2  // the destructor abandons the archive instead of closing it
    };

    // pFile must outlive the archive (or its Close/Abort). The buffer holds nBufSize bytes (at least 16).
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    // ---- State -------------------------------------------------------------------------------------------------
    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return !IsLoading(); }
    // The file under the archive; null once it is closed.
    CFile* GetFile() const { return m_pFile; }
    // The file's path as its exceptions name it (empty for memory files).
    const CString& GetFileName() const { return m_strFileName; }

    // ---- Raw bytes ---------------------------------------------------------------------------------------------
    // Reads up to nMax bytes and returns how many arrived: fewer only at the end of the data, which is not an error.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Copies the next nCount bytes without consuming them and returns how many there were (fewer at the end).
    UINT Peek(void* lpBuf, UINT nCount);
    // Loading: raises endOfFile unless nCount more bytes can still come, so a damaged length read from the data
    // is refused before anything is allocated for it.
    void EnsureRemaining(ULONGLONG nCount);
    // Loading: passes over nCount bytes; raises endOfFile when the data ends first.
    void Skip(ULONGLONG nCount);

    // ---- Counts, classes and the index table -------------------------------------------------------------------
    void WriteCount(DWORD_PTR dwCount);
    DWORD_PTR ReadCount();
    // Raises CNotSupportedException for a class whose schema is 0xFFFF (declared without IMPLEMENT_SERIAL).
    void WriteClass(const CRuntimeClass* pClassRef);
    // The class named next in the data. With pClassRefRequested, the class must be it or derive from it. pSchema
    // receives the schema number stored with the class (for a back reference, the one read the first time).
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr);
    // Gives the object the next index, so it counts in the table the way a stored object does.
    void MapObject(const CObject* pOb);

    // ---- Ending ------------------------------------------------------------------------------------------------
    // Storing: writes the buffer to the file. Loading: moves the file back to the first byte not yet consumed.
    void Flush();
    // Flushes and lets go of the file (which stays open); the archive cannot be used afterwards.
    void Close();
    // Lets go of the file without writing anything or raising: for code that is unwinding.
    void Abort();

    // ---- Values ------------------------------------------------------------------------------------------------
    CArchive& operator<<(BYTE by) { return Put(by); }
    CArchive& operator<<(char ch) { return Put(ch); }
    CArchive& operator<<(bool b) { return Put(static_cast<BYTE>(b ? 1 : 0)); }
    CArchive& operator<<(WORD w) { return Put(w); }
    CArchive& operator<<(short n) { return Put(n); }
    CArchive& operator<<(int i) { return Put(static_cast<int32_t>(i)); }
    CArchive& operator<<(UINT u) { return Put(static_cast<uint32_t>(u)); }
    CArchive& operator<<(LONG l) { return Put(static_cast<int32_t>(l)); }
    CArchive& operator<<(DWORD dw) { return Put(static_cast<uint32_t>(dw)); }
    CArchive& operator<<(LONGLONG n) { return Put(static_cast<int64_t>(n)); }
    CArchive& operator<<(ULONGLONG n) { return Put(static_cast<uint64_t>(n)); }
    CArchive& operator<<(float f) { return Put(f); }
    CArchive& operator<<(double d) { return Put(d); }
    CArchive& operator<<(const CString& str);
    CArchive& operator<<(LPCSTR psz);  // the string form, so a literal is not taken for a bool
    CArchive& operator<<(LPSTR psz) { return *this << static_cast<LPCSTR>(psz); }
    // Any other pointer would silently become a bool.
    template <class T> CArchive& operator<<(T*) = delete;

    CArchive& operator>>(BYTE& by) { return Get(by); }
    CArchive& operator>>(char& ch) { return Get(ch); }
    CArchive& operator>>(bool& b);
    CArchive& operator>>(WORD& w) { return Get(w); }
    CArchive& operator>>(short& n) { return Get(n); }
    CArchive& operator>>(int& i) { return GetAs<int32_t>(i); }
    CArchive& operator>>(UINT& u) { return GetAs<uint32_t>(u); }
    CArchive& operator>>(LONG& l) { return GetAs<int32_t>(l); }
    CArchive& operator>>(DWORD& dw) { return GetAs<uint32_t>(dw); }
    CArchive& operator>>(LONGLONG& n) { return GetAs<int64_t>(n); }
    CArchive& operator>>(ULONGLONG& n) { return GetAs<uint64_t>(n); }
    CArchive& operator>>(float& f) { return Get(f); }
    CArchive& operator>>(double& d) { return Get(d); }
    CArchive& operator>>(CString& str);

protected:
    // For the library's own use: how many indexes the table has handed out.
    DWORD m_nMapCount = 0;

private:
    struct LoadedEntry
    {
        const void* p = nullptr;
        UINT nSchema = 0;
        bool bClass = false;
    };

    template <class T> CArchive& Put(T value)
    {
        // Windows runs little-endian only, so a value's memory is its stored form.
        static_assert(sizeof(T) <= 8, "CArchive: values up to 8 bytes");
        CheckStoring();
        if (m_buffer.size() - m_nCur < sizeof(T))
            FlushBuffer();
        std::memcpy(&m_buffer[m_nCur], &value, sizeof(T));
        m_nCur += sizeof(T);
        return *this;
    }

    template <class T> CArchive& Get(T& value)
    {
        CheckLoading();
        if (!Available(sizeof(T)))
            ThrowArchive(CArchiveException::endOfFile);
        std::memcpy(&value, &m_buffer[m_nCur], sizeof(T));
        m_nCur += sizeof(T);
        return *this;
    }

    template <class Stored, class T> CArchive& GetAs(T& value)
    {
        Stored stored{};
        Get(stored);
        value = static_cast<T>(stored);
        return *this;
    }

    void CheckLoading();
    void CheckStoring();
    [[noreturn]] void ThrowArchive(int cause) const;
    [[noreturn]] void ThrowFileError() const;
    // Loading: makes at least nBytes unread bytes lie in the buffer, reading from the file as needed; FALSE when the
    // data ends first (whatever did arrive stays buffered).
    bool Available(size_t nBytes);
    // Storing: writes what the buffer holds to the file.
    void FlushBuffer();
    void WriteToFile(const void* lpBuf, UINT nCount);
    void ReadExact(void* lpBuf, size_t nCount);
    void WriteStringLength(size_t nLength);
    size_t ReadStringLength();
    // The next index of the table, or badIndex when the table is full.
    DWORD NextIndex();
    void RecordLoaded(DWORD nIndex, const void* p, UINT nSchema, bool bClass);

    CFile* m_pFile;
    UINT m_nMode;
    CString m_strFileName;
    std::vector<BYTE> m_buffer;
    size_t m_nCur = 0;  // storing: bytes waiting in the buffer; loading: the next unread byte
    size_t m_nEnd = 0;  // loading: one past the last byte read from the file
    int m_nUncaughtAtStart;
    std::unordered_map<const void*, DWORD> m_storedIndexes;  // storing: class records and objects by index
    std::vector<LoadedEntry> m_loaded;                       // loading: entry i is index i (0 stays empty)
};
