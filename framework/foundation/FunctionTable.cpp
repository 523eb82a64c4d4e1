#include "framework/foundation/FunctionTable.h"

#include <algorithm>
#include <mutex>

COSMFunctionTable::COSMFunctionTable(const char* moduleName, const char* const* names, size_t count, BOOL followReloads)
    : m_moduleName(moduleName), m_names(names), m_functions(count, nullptr), m_module(LoadLibraryA(moduleName)),
      m_followReloads(followReloads)
{}

FARPROC COSMFunctionTable::Lookup(size_t slot)
{
    std::lock_guard<CCriticalSection> lock(m_lock);
    if (slot >= m_functions.size() || !m_module)
        return nullptr;
    if (!m_functions[slot])
        m_functions[slot] = ::GetProcAddress(m_module, m_names[slot]);
    return m_functions[slot];
}

void COSMFunctionTable::FollowReload()
{
    if (!m_followReloads)
        return;
    std::lock_guard<CCriticalSection> lock(m_lock);
    const HMODULE current = GetModuleHandleA(m_moduleName.c_str());
    if (current == m_module)
        return;
    m_module = current;
    std::fill(m_functions.begin(), m_functions.end(), nullptr);
}

HMODULE COSMFunctionTable::GetModule()
{
    std::lock_guard<CCriticalSection> lock(m_lock);
    return m_module;
}
