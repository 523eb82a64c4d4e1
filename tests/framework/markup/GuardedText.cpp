#include "GuardedText.h"

#include <cstring>
#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace markup_test {

namespace {

size_t PageSize()
{
#ifdef _WIN32
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    return info.dwPageSize;
#else
    return static_cast<size_t>(sysconf(_SC_PAGESIZE));
#endif
}

}  // namespace

GuardedText::GuardedText(const void* data, size_t size) : m_nSize(size)
{
    const size_t page = PageSize();
    const size_t readable = (size + page - 1) / page * page + page;
    m_nMapped = readable + page;
#ifdef _WIN32
    m_pBase = static_cast<char*>(::VirtualAlloc(nullptr, m_nMapped, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    if (!m_pBase || !::VirtualProtect(m_pBase + readable, page, PAGE_NOACCESS, &old))
        throw std::bad_alloc();
#else
    void* base = mmap(nullptr, m_nMapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        throw std::bad_alloc();
    m_pBase = static_cast<char*>(base);
    if (mprotect(m_pBase + readable, page, PROT_NONE) != 0)
        throw std::bad_alloc();
#endif
    m_pBegin = m_pBase + readable - size;
    if (size)
        memcpy(m_pBegin, data, size);
}

GuardedText::~GuardedText()
{
#ifdef _WIN32
    ::VirtualFree(m_pBase, 0, MEM_RELEASE);
#else
    munmap(m_pBase, m_nMapped);
#endif
}

}  // namespace markup_test
