// Helpers shared by the class-library tests: a visible top-level window to host controls, message pumping with a
// deadline, and a scratch folder that removes itself.
#pragma once

#include "classlib/ClassLib.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

// Rectangles in test failures as their four sides, not as bytes.
inline void PrintTo(const CRect& rect, std::ostream* os)
{
    *os << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ")";
}

namespace classlib_test {

// What object.Serialize stores into an archive, and the object read back from such bytes.
inline std::vector<BYTE> Store(CObject& object)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    object.Serialize(ar);
    ar.Close();
    std::vector<BYTE> stored(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(stored.data(), static_cast<UINT>(stored.size()));
    return stored;
}

inline void Load(CObject& object, std::vector<BYTE> stored)
{
    CMemFile file(stored.data(), static_cast<UINT>(stored.size()));
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
    ar.Close();
}

// Dispatches this thread's messages until done() holds or timeoutMs passes; returns done().
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000)
{
    const DWORD start = ::GetTickCount();
    while (!done())
    {
        if (::GetTickCount() - start > timeoutMs)
            return done();
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (!done())
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

inline void PumpPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// A shown, active top-level window made through the library, for tests that need a parent.
class CHostWnd : public CWnd
{
public:
    BOOL CreateHost(const char* title = "classlib test host")
    {
        LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                         reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        if (!CreateEx(0, cls, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 420, 300, nullptr, nullptr))
            return FALSE;
        ShowWindow(SW_SHOW);
        SetForegroundWindow();
        UpdateWindow();
        return TRUE;
    }
    ~CHostWnd() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
};

// A new empty folder under the temporary folder, removed with its contents at the end of the test.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_path.Format("%sclasslib-%lu-%lu", temp, ::GetCurrentProcessId(), ++s_counter);
        ::CreateDirectoryA(m_path, nullptr);
    }
    ~ScratchFolder() { RemoveTree(m_path); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const CString& Path() const { return m_path; }
    CString File(const char* name) const { return m_path + "\\" + name; }

private:
    static void RemoveTree(const CString& folder)
    {
        WIN32_FIND_DATAA data;
        HANDLE find = ::FindFirstFileA(folder + "\\*", &data);
        if (find != INVALID_HANDLE_VALUE)
        {
            do
            {
                CString name(data.cFileName);
                if (name == "." || name == "..")
                    continue;
                CString child = folder + "\\" + name;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(child);
                else
                    ::DeleteFileA(child);
            } while (::FindNextFileA(find, &data));
            ::FindClose(find);
        }
        ::RemoveDirectoryA(folder);
    }

    static inline unsigned long s_counter = 0;
    CString m_path;
};

}  // namespace classlib_test
