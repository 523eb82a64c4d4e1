// Image data the framework did not make, put through the calls a host makes with it, and what that left behind:
// a file through LoadImageFile and then cut into icons the way a markup Image and a toolbar do, and clipboard bytes
// through the image manager's paste. The reproducer tests and the fuzzing programs share these.
#pragma once

#include "CommittedMemory.h"
#include "ImageTestSupport.h"

#include "classlib/OleDataObject.h"
#include "framework/foundation/ImageFileChecks.h"
#include "framework/foundation/ImageLoaders.h"
#include "framework/foundation/ImageManager.h"
#include "platform/classlib/RefPtr.h"

#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace image_input {

// Seconds on the performance counter since the mark was taken.
class Stopwatch
{
public:
    Stopwatch() { ::QueryPerformanceCounter(&m_start); }
    double Seconds() const
    {
        LARGE_INTEGER now{};
        LARGE_INTEGER frequency{};
        ::QueryPerformanceCounter(&now);
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(now.QuadPart - m_start.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER m_start{};
};

// The process's memory: the private bytes committed now, and the most of its working set that was ever resident
// (pages a load wrote to, freed since or not).
struct ProcessMemory
{
    long long committedBytes = 0;
    long long peakWorkingSet = 0;
};

inline ProcessMemory MeasureProcessMemory()
{
    ProcessMemory memory;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof(counters)))
    {
        memory.committedBytes = static_cast<long long>(counters.PrivateUsage);
        memory.peakWorkingSet = static_cast<long long>(counters.PeakWorkingSetSize);
    }
    // Wine's counter of private bytes holds only the pages that were written to: memory committed and never
    // touched shows only in the address space itself.
    const long long regions = CommittedPrivateBytes();
    if (regions > memory.committedBytes)
        memory.committedBytes = regions;
    return memory;
}

const long long kMegabyte = 1024 * 1024;

// COM on the thread while it lives, for the system's picture loader.
class ComScope
{
public:
    ComScope() : m_hr(::CoInitialize(nullptr)) {}
    ~ComScope()
    {
        if (SUCCEEDED(m_hr))
            ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT m_hr;
};

#ifdef OSM_BAD_IMAGE_INPUT_DIR
// A file made to crash or hang a reader, kept under the foundation tests' fixtures/bad-input.
inline std::string BadInputFixture(const char* name)
{
    return std::string(OSM_BAD_IMAGE_INPUT_DIR) + "/" + name;
}
#endif

// A check's answer as the tests' tables write it.
inline const char* CheckName(OsmImageCheck check)
{
    switch (check)
    {
    case OsmImageCheck::Ok:
        return "ok";
    case OsmImageCheck::TooLarge:
        return "too large";
    default:
        return "damaged";
    }
}

// What a file did on its way in.
struct FileOutcome
{
    bool loaded = false;            // LoadImageFile gave a bitmap
    DWORD error = 0;                // GetLastError right after a refusal
    BOOL alpha = FALSE;             // the loader's word on the bitmap's alpha
    SIZE size{};                    // the bitmap's size
    bool markupIcon = false;        // the whole bitmap became one icon, as a markup Image makes it
    int stripIcons = 0;             // icon sets made by cutting it into 16-pixel icons, as a toolbar strip
    bool managersUnchanged = true;  // a refused cut left its manager empty
    double seconds = 0;
};

// LoadImageFile, then, when it gives a bitmap, the two cuts hosts make of it; every object is freed again.
inline FileOutcome LoadFileAsHost(const std::string& path)
{
    FileOutcome outcome;
    const Stopwatch watch;
    BOOL alpha = FALSE;
    ::SetLastError(ERROR_SUCCESS);
    HBITMAP bitmap = LoadImageFile(path.c_str(), &alpha);
    outcome.error = bitmap ? ERROR_SUCCESS : ::GetLastError();
    if (bitmap)
    {
        outcome.loaded = true;
        outcome.alpha = alpha;
        BITMAP bm{};
        ::GetObjectA(bitmap, sizeof(bm), &bm);
        outcome.size = {bm.bmWidth, bm.bmHeight};
        {
            RefPtr<COSMImageManager> markup = AdoptRef(new COSMImageManager);
            outcome.markupIcon = markup->AddIconsFromBitmap(bitmap, nullptr, 1, 0, 0, 0, alpha) != FALSE;
            if (!outcome.markupIcon && markup->GetIconSets().GetCount() != 0)
                outcome.managersUnchanged = false;
        }
        {
            RefPtr<COSMImageManager> strip = AdoptRef(new COSMImageManager);
            const UINT ids[] = {1, 2, 0, 3};
            const BOOL cut = strip->AddIconsFromBitmap(bitmap, ids, 4, 16, 16, 0, alpha);
            outcome.stripIcons = static_cast<int>(strip->GetIconSets().GetCount());
            // A strip narrower than the three icons the ids take fills the ids it can and answers FALSE; a strip
            // wide enough is cut whole or refused whole.
            if (!cut && outcome.stripIcons != 0 && bm.bmWidth >= 3 * 16)
                outcome.managersUnchanged = false;
        }
        ::DeleteObject(bitmap);
    }
    outcome.seconds = watch.Seconds();
    return outcome;
}

// What clipboard bytes did on their way in.
struct PasteOutcome
{
    bool offered = false;           // the bytes were on the clipboard (it takes no empty block: then it was empty)
    UINT id = 0;                    // the custom id PasteFromClipboard gave, 0 on a refusal
    bool managerUnchanged = false;  // the same sets and the same last custom id as before
    double seconds = 0;
};

// The bytes as "Osmira ToolBar Image" on the clipboard, pasted into the manager. Bytes the clipboard does not take
// leave it empty, and the paste is made all the same: it must find nothing and change nothing.
inline PasteOutcome PasteAsHost(COSMImageManager* manager, const std::vector<BYTE>& bytes)
{
    PasteOutcome outcome;
    image_test::ClipboardOwner clipboard;
    outcome.offered = clipboard.Put(bytes);
    const INT_PTR setsBefore = manager->GetIconSets().GetCount();
    const UINT lastBefore = manager->GetLastCustomID();
    COleDataObject data;
    data.AttachClipboard();
    const Stopwatch watch;
    outcome.id = manager->PasteFromClipboard(&data);
    outcome.seconds = watch.Seconds();
    outcome.managerUnchanged =
        manager->GetIconSets().GetCount() == setsBefore && manager->GetLastCustomID() == lastBefore;
    return outcome;
}

// The handle-table slots a burst of new GDI objects no longer gets since the measure before was taken: objects
// made meanwhile and still alive.
inline size_t GdiSlotsTakenSince(const std::set<WORD>& before)
{
    const std::set<WORD> after = image_test::GdiUsage();
    std::vector<WORD> taken;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(taken));
    return taken.size();
}

inline std::vector<BYTE> ReadWholeFile(const std::string& path)
{
    std::vector<BYTE> bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb"))
    {
        BYTE buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(file);
    }
    return bytes;
}

}  // namespace image_input
