// COSMSoundManager plays the system's menu sounds ("MenuCommand" when a command runs, "MenuPopup" when a popup
// opens) on a worker thread of its own, so the user-interface thread never waits for the sound device:
//
//   GetSoundManager()->PlaySystemSound(COSMSoundManager::kMenuCommand);
//
// One per process (GetSoundManager), made on first use; its destructor stops the worker at exit. The worker starts
// with the first sound and sleeps between sounds. A sound asked for while another one plays is dropped. Without a
// wave device, or while disabled, nothing starts and nothing plays.
#pragma once

#include "classlib/SyncObject.h"
#include "classlib/WinThread.h"

#include <mmsystem.h>

#include <atomic>

class COSMSoundManager
{
public:
    // What PlaySystemSound plays.
    static constexpr LONG kNone = 0;
    static constexpr LONG kMenuCommand = 1;
    static constexpr LONG kMenuPopup = 2;
    // PlaySound's flags for a menu sound: an alias, not waiting for a busy device, no default sound instead.
    static constexpr DWORD kPlayFlags = SND_ALIAS | SND_NOWAIT | SND_NODEFAULT;

    // The device count and the player. Replaceable: the machines the tests run on have no wave device.
    using WaveOutGetNumDevsFn = UINT(WINAPI*)();
    using PlaySoundFn = BOOL(WINAPI*)(LPCSTR sound, HMODULE module, DWORD flags);
    static WaveOutGetNumDevsFn s_pfnWaveOutGetNumDevs;
    static PlaySoundFn s_pfnPlaySound;

    // Asks for the device count once, here.
    COSMSoundManager();
    // Stops the worker.
    ~COSMSoundManager();
    COSMSoundManager(const COSMSoundManager&) = delete;
    COSMSoundManager& operator=(const COSMSoundManager&) = delete;

    // Only when enabled and a device is present: starts the worker on the first call, stores the kind and wakes the
    // worker.
    void PlaySystemSound(LONG kind);
    // The worker runs again from a clean state (kind none, event reset), at below-normal priority.
    void StartThread();
    // Asks the worker to end and waits for it; a worker still busy after ten polls of 100 ms (a player that hangs)
    // is terminated. Nothing without a worker.
    void StopThread();

    BOOL IsEnabled() const { return m_enabled; }
    void SetEnabled(BOOL enabled) { m_enabled = enabled; }
    BOOL IsDevicePresent() const { return m_devicePresent; }
    // For hosts (and tests) that know better than the count taken at construction.
    void SetDevicePresent(BOOL present) { m_devicePresent = present; }
    // The worker's handle; null before the first sound and after StopThread.
    HANDLE GetThreadHandle() const { return m_thread ? m_thread->m_hThread : nullptr; }

private:
    static UINT ThreadProc(LPVOID param);
    UINT Run();

    // Written by the user-interface thread and cleared by the worker: exchanged atomically, never torn or reordered.
    std::atomic<LONG> m_kind{kNone};
    BOOL m_enabled = TRUE;
    BOOL m_devicePresent = FALSE;
    CWinThread* m_thread = nullptr;
    std::atomic<BOOL> m_quit{FALSE};
    // Manual reset, not signalled: the worker resets it itself once it woke for a sound.
    CEvent m_event{FALSE, TRUE};
};

// The process-wide sound manager.
COSMSoundManager* GetSoundManager();
