// The test program's calls of system functions, sent through replacements at its import table while the object lives:
// the libraries under test are linked into the program, so their every call of an imported function passes there.
#pragma once

#include <windows.h>

#include <cstring>
#include <vector>

namespace osm::test {

class ImportPatches
{
public:
    ImportPatches() = default;
    ~ImportPatches()
    {
        for (auto patched = m_patched.rbegin(); patched != m_patched.rend(); ++patched)
            Write(patched->slot, patched->original);
    }
    ImportPatches(const ImportPatches&) = delete;
    ImportPatches& operator=(const ImportPatches&) = delete;

    // Points the program's import of `name` from `module` at `replacement` and gives the function it pointed at in
    // `original`; false when the program does not import it by name (its calls then cannot be seen).
    bool Patch(const char* module, const char* name, ULONG_PTR replacement, ULONG_PTR* original)
    {
        BYTE* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (!imports.VirtualAddress)
            return false;
        for (auto* imported = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); imported->Name;
             ++imported)
        {
            if (_stricmp(reinterpret_cast<const char*>(base + imported->Name), module) != 0 ||
                !imported->OriginalFirstThunk)
                continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imported->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imported->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots)
            {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                    continue;
                const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0)
                    continue;
                ULONG_PTR* slot = reinterpret_cast<ULONG_PTR*>(&slots->u1.Function);
                *original = *slot;
                m_patched.push_back(Patched{slot, *slot});
                Write(slot, replacement);
                return true;
            }
        }
        return false;
    }

    size_t Count() const { return m_patched.size(); }

private:
    struct Patched
    {
        ULONG_PTR* slot;
        ULONG_PTR original;
    };

    static void Write(ULONG_PTR* slot, ULONG_PTR value)
    {
        DWORD protection = 0;
        if (::VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection))
        {
            *slot = value;
            ::VirtualProtect(slot, sizeof(*slot), protection, &protection);
        }
    }

    std::vector<Patched> m_patched;
};

}  // namespace osm::test
