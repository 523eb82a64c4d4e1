#include "classlib/SyncObject.h"

#include <new>
#include <system_error>

IMPLEMENT_DYNAMIC(CSyncObject, CObject)
IMPLEMENT_DYNAMIC(CEvent, CSyncObject)
IMPLEMENT_DYNAMIC(CCriticalSection, CSyncObject)

CSyncObject::~CSyncObject()
{
    if (m_hObject)
        ::CloseHandle(m_hObject);
}

BOOL CSyncObject::Lock(DWORD dwTimeout)
{
    return ::WaitForSingleObject(m_hObject, dwTimeout) == WAIT_OBJECT_0;
}

BOOL CSyncObject::Unlock(LONG /*lCount*/, LPLONG /*lpPrevCount*/)
{
    return Unlock();
}

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
{
    m_hObject = ::CreateEventA(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName);
    if (!m_hObject)
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateEvent");
}

BOOL CEvent::SetEvent()
{
    return ::SetEvent(m_hObject);
}

BOOL CEvent::ResetEvent()
{
    return ::ResetEvent(m_hObject);
}

BOOL CEvent::PulseEvent()
{
    return ::PulseEvent(m_hObject);
}

BOOL CEvent::Unlock()
{
    return TRUE;
}

CCriticalSection::CCriticalSection()
{
    // Unlike InitializeCriticalSection, this one reports a failure (low memory on older systems) instead of raising.
    if (!::InitializeCriticalSectionAndSpinCount(&m_sect, 0))
        throw std::bad_alloc();
}

CCriticalSection::~CCriticalSection()
{
    ::DeleteCriticalSection(&m_sect);
}

BOOL CCriticalSection::Lock(DWORD dwTimeout)
{
    if (dwTimeout == INFINITE)
    {
        ::EnterCriticalSection(&m_sect);
        return TRUE;
    }
    const DWORD start = ::GetTickCount();
    for (;;)
    {
        if (::TryEnterCriticalSection(&m_sect))
            return TRUE;
        // Unsigned difference: right across the tick counter's wrap.
        if (::GetTickCount() - start >= dwTimeout)
            return FALSE;
        ::Sleep(1);
    }
}

BOOL CCriticalSection::Unlock()
{
    ::LeaveCriticalSection(&m_sect);
    return TRUE;
}
