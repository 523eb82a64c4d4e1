#include "classlib/Object.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

// The markers around the table of registered records. Everything between them is a record pointer (or padding
// the linker put between two units' parts, which is zero).
__attribute__((section(".data$osm_rtc_a"), used)) const CRuntimeClass* const g_tableStart = nullptr;
__attribute__((section(".data$osm_rtc_c"), used)) const CRuntimeClass* const g_tableEnd = nullptr;

template <class Visit> const CRuntimeClass* FindRegistered(Visit matches)
{
    // Walked by address: the entries are separate objects the linker placed side by side.
    const uintptr_t first = reinterpret_cast<uintptr_t>(&g_tableStart) + sizeof(const CRuntimeClass*);
    const uintptr_t last = reinterpret_cast<uintptr_t>(&g_tableEnd);
    for (uintptr_t at = first; at < last; at += sizeof(const CRuntimeClass*))
    {
        const CRuntimeClass* pClass = *reinterpret_cast<const CRuntimeClass* const volatile*>(at);
        if (pClass && matches(pClass))
            return pClass;
    }
    return nullptr;
}

}  // namespace

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
    {
        if (p == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (!lpszClassName)
        return nullptr;
    if (std::strcmp(lpszClassName, CObject::classCObject.m_lpszClassName) == 0)
        return RUNTIME_CLASS(CObject);
    const CRuntimeClass* pClass = FindRegistered(
        [lpszClassName](const CRuntimeClass* p) { return std::strcmp(p->m_lpszClassName, lpszClassName) == 0; });
    return const_cast<CRuntimeClass*>(pClass);
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    const CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass ? pClass->CreateObject() : nullptr;
}

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr};

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

void CObject::Serialize(CArchive&) {}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

namespace osm_classlib_detail {

void DebugTrace(const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    OutputDebugStringA(text);
}

void AssertFailed(const char* file, int line, const char* expression)
{
    // Say it where a developer looks (debugger and console) and carry on: a dialog would stall unattended runs.
    char text[1024];
    std::snprintf(text, sizeof text, "classlib assertion failed: %s (%s:%d)\n", expression, file, line);
    OutputDebugStringA(text);
    std::fputs(text, stderr);
}

}  // namespace osm_classlib_detail
