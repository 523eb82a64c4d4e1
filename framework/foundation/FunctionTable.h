// The functions of a DLL the program may run without, looked up by name on first use: each slot stays null
// while the DLL or its function is missing, so callers fall back instead of failing to start. The visual-style
// and desktop-composition wrappers keep their functions in one.
//
//   static const char* const kNames[] = {"GetLayout", "SetLayout"};
//   COSMFunctionTable table("GDI32.DLL", kNames, 2, FALSE);
//   if (auto getLayout = table.Get<GetLayoutFn>(0)) layout = getLayout(dc);
//
// A table may follow reloads: FollowReload then compares the module now loaded under its name with the one it
// looked up in and, when they differ, takes the new one and forgets every function (a module that went away
// leaves every slot empty). Lookups and reloads hold the table's lock, so any thread may use it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "classlib/SyncObject.h"

class COSMFunctionTable
{
public:
    // Loads the DLL (LoadLibraryA) and never frees it: painters may still call into it from destructors that
    // run at exit. names lists the functions in slot order and must outlive the table.
    COSMFunctionTable(const char* moduleName, const char* const* names, size_t count, BOOL followReloads);
    virtual ~COSMFunctionTable() = default;

    COSMFunctionTable(const COSMFunctionTable&) = delete;
    COSMFunctionTable& operator=(const COSMFunctionTable&) = delete;

    // The slot's function, looked up on first use; null when the DLL or the function is missing.
    FARPROC Lookup(size_t slot);
    template <typename Function> Function Get(size_t slot)
    {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(Lookup(slot)));
    }

    // For a table that follows reloads: takes the module now loaded under the name when it is another one, and
    // forgets every function then. Does nothing on a table that does not follow reloads.
    void FollowReload();

    HMODULE GetModule();
    BOOL FollowsReloads() const { return m_followReloads; }
    const std::string& GetModuleName() const { return m_moduleName; }

private:
    const std::string m_moduleName;
    const char* const* m_names;
    std::vector<FARPROC> m_functions;
    HMODULE m_module;
    const BOOL m_followReloads;
    CCriticalSection m_lock;
};
