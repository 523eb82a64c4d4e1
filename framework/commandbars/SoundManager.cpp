#include "framework/commandbars/SoundManager.h"

#include "framework/foundation/ProcessService.h"

namespace {

// How long StopThread waits for the worker, in polls of kStopPollMs.
const int kStopPolls = 10;
const DWORD kStopPollMs = 100;

}  // namespace

COSMSoundManager::WaveOutGetNumDevsFn COSMSoundManager::s_pfnWaveOutGetNumDevs = &::waveOutGetNumDevs;
COSMSoundManager::PlaySoundFn COSMSoundManager::s_pfnPlaySound = &::PlaySoundA;

COSMSoundManager::COSMSoundManager() : m_devicePresent(s_pfnWaveOutGetNumDevs() >= 1) {}

COSMSoundManager::~COSMSoundManager()
{
    StopThread();
}

COSMSoundManager* GetSoundManager()
{
    OSM_ASSERT_UI_THREAD();
    return OsmProcessService<COSMSoundManager>();
}

void COSMSoundManager::PlaySystemSound(LONG kind)
{
    if (!m_enabled || !m_devicePresent)
        return;
    if (!m_thread)
        StartThread();
    m_kind.store(kind);
    m_event.SetEvent();
}

void COSMSoundManager::StartThread()
{
    m_kind.store(kNone);
    m_quit.store(FALSE);
    m_event.ResetEvent();
    auto* thread = new CWinThread(&COSMSoundManager::ThreadProc, this);
    thread->m_bAutoDelete = FALSE;
    if (!thread->CreateThread(CREATE_SUSPENDED))
    {
        TRACE("COSMSoundManager: the sound thread did not start (error %lu)\n", ::GetLastError());
        thread->InternalRelease();
        return;
    }
    thread->SetThreadPriority(THREAD_PRIORITY_BELOW_NORMAL);
    m_thread = thread;
    m_thread->ResumeThread();
}

void COSMSoundManager::StopThread()
{
    if (!m_thread)
        return;
    m_quit.store(TRUE);
    m_event.SetEvent();
    const HANDLE handle = m_thread->m_hThread;
    for (int poll = 1;; ++poll)
    {
        DWORD exitCode = 0;
        if (!::GetExitCodeThread(handle, &exitCode) || exitCode != STILL_ACTIVE)
            break;
        if (poll > kStopPolls)
        {
            // A player that never returns would keep the process from ending.
            ::TerminateThread(handle, 0);
            ::WaitForSingleObject(handle, INFINITE);
            break;
        }
        ::WaitForSingleObject(handle, kStopPollMs);
    }
    m_thread->InternalRelease();
    m_thread = nullptr;
}

UINT COSMSoundManager::ThreadProc(LPVOID param)
{
    return static_cast<COSMSoundManager*>(param)->Run();
}

UINT COSMSoundManager::Run()
{
    while (!m_quit.load())
    {
        const LONG kind = m_kind.load();
        if (kind == kMenuCommand || kind == kMenuPopup)
        {
            s_pfnPlaySound(kind == kMenuCommand ? "MenuCommand" : "MenuPopup", nullptr, kPlayFlags);
            // Whatever was asked for while this one played is dropped. A kind of none is left alone: the first
            // sound may be stored just after the worker started.
            m_kind.exchange(kNone);
        }
        ::WaitForSingleObject(m_event, INFINITE);
        if (!m_quit.load())
            m_event.ResetEvent();
    }
    s_pfnPlaySound(nullptr, nullptr, SND_PURGE);
    return 0;
}
