// Menu sounds on their worker: which alias plays with which flags on which thread, a sound asked for while another
// plays, a player that never returns, no device, and the command bars stopping the worker. The machines the tests
// run on have no wave device: the device count is forced and the player records instead of playing.
#include "CommandBarsTestSupport.h"

#include "framework/commandbars/SoundManager.h"

#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

struct Played
{
    std::string sound;  // "" for the purge at the end
    DWORD flags;
    DWORD threadId;
    int priority;
};

// What the recording player saw, and the gate a test may hold it at.
CCriticalSection g_playedLock;
std::vector<Played> g_played;
CEvent g_playing(FALSE, TRUE);  // set once a sound entered the player
CEvent g_gate(TRUE, TRUE);      // the player waits here; open unless a test closes it
BOOL g_gateForEver = FALSE;     // the player never comes back

BOOL WINAPI RecordSound(LPCSTR sound, HMODULE module, DWORD flags)
{
    {
        std::lock_guard<CCriticalSection> lock(g_playedLock);
        g_played.push_back(
            Played{sound ? sound : "", flags, ::GetCurrentThreadId(), ::GetThreadPriority(::GetCurrentThread())});
    }
    if (!sound)
        return TRUE;
    g_playing.SetEvent();
    if (g_gateForEver)
        ::Sleep(INFINITE);
    ::WaitForSingleObject(g_gate, INFINITE);
    return TRUE;
}

UINT WINAPI OneDevice()
{
    return 1;
}

UINT WINAPI NoDevice()
{
    return 0;
}

std::vector<Played> PlayedSoFar()
{
    std::lock_guard<CCriticalSection> lock(g_playedLock);
    return g_played;
}

std::vector<std::string> SoundsSoFar()
{
    std::vector<std::string> sounds;
    for (const Played& p : PlayedSoFar())
        sounds.push_back(p.sound);
    return sounds;
}

// Nothing played, the gate open.
void ResetPlayer()
{
    std::lock_guard<CCriticalSection> lock(g_playedLock);
    g_played.clear();
    g_playing.ResetEvent();
    g_gate.SetEvent();
    g_gateForEver = FALSE;
}

class SoundManagerTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetPlayer(); }

    ScopedSetting<COSMSoundManager::WaveOutGetNumDevsFn> device{COSMSoundManager::s_pfnWaveOutGetNumDevs, &OneDevice};
    ScopedSetting<COSMSoundManager::PlaySoundFn> player{COSMSoundManager::s_pfnPlaySound, &RecordSound};
};

TEST_F(SoundManagerTest, EachKindPlaysItsAliasOnTheWorkerBelowNormalPriority)
{
    const struct
    {
        LONG kind;
        const char* sound;
    } cases[] = {{COSMSoundManager::kMenuCommand, "MenuCommand"}, {COSMSoundManager::kMenuPopup, "MenuPopup"}};
    for (const auto& c : cases)
    {
        ResetPlayer();
        COSMSoundManager manager;
        EXPECT_TRUE(manager.IsDevicePresent());
        EXPECT_EQ(nullptr, manager.GetThreadHandle());
        manager.PlaySystemSound(c.kind);
        ASSERT_NE(nullptr, manager.GetThreadHandle());
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(g_playing, 5000)) << c.sound;
        manager.StopThread();
        EXPECT_EQ(nullptr, manager.GetThreadHandle());

        const std::vector<Played> played = PlayedSoFar();
        ASSERT_EQ(2u, played.size()) << c.sound;
        EXPECT_EQ(c.sound, played[0].sound);
        EXPECT_EQ(0x12002u, played[0].flags);
        EXPECT_NE(::GetCurrentThreadId(), played[0].threadId);
        EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, played[0].priority);
        // On its way out the worker stops whatever still plays.
        EXPECT_EQ("", played[1].sound);
        EXPECT_EQ(static_cast<DWORD>(SND_PURGE), played[1].flags);
        EXPECT_EQ(played[0].threadId, played[1].threadId);
    }
}

TEST_F(SoundManagerTest, ASoundAskedForWhileAnotherPlaysIsDropped)
{
    COSMSoundManager manager;
    g_gate.ResetEvent();
    manager.PlaySystemSound(COSMSoundManager::kMenuCommand);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(g_playing, 5000));
    manager.PlaySystemSound(COSMSoundManager::kMenuPopup);
    g_gate.SetEvent();
    manager.StopThread();
    EXPECT_EQ((std::vector<std::string>{"MenuCommand", ""}), SoundsSoFar());
}

TEST_F(SoundManagerTest, TheWorkerSleepsBetweenSoundsAndPlaysTheNextOne)
{
    COSMSoundManager manager;
    manager.PlaySystemSound(COSMSoundManager::kMenuPopup);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(g_playing, 5000));
    const HANDLE worker = manager.GetThreadHandle();
    // The next request, once the worker is waiting again, plays on the same worker.
    for (int attempt = 0; attempt < 200 && SoundsSoFar().size() < 2; ++attempt)
    {
        g_playing.ResetEvent();
        manager.PlaySystemSound(COSMSoundManager::kMenuCommand);
        ::WaitForSingleObject(g_playing, 50);
    }
    EXPECT_EQ(worker, manager.GetThreadHandle());
    manager.StopThread();
    const std::vector<std::string> sounds = SoundsSoFar();
    ASSERT_GE(sounds.size(), 3u);
    EXPECT_EQ("MenuPopup", sounds[0]);
    EXPECT_EQ("MenuCommand", sounds[1]);
    EXPECT_EQ("", sounds.back());
}

TEST_F(SoundManagerTest, APlayerThatNeverReturnsIsTerminatedAfterAboutASecond)
{
    COSMSoundManager manager;
    g_gateForEver = TRUE;
    manager.PlaySystemSound(COSMSoundManager::kMenuCommand);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(g_playing, 5000));
    HANDLE worker = nullptr;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), manager.GetThreadHandle(), ::GetCurrentProcess(), &worker, 0,
                                  FALSE, DUPLICATE_SAME_ACCESS));
    const DWORD start = ::GetTickCount();
    manager.StopThread();
    const DWORD elapsed = ::GetTickCount() - start;
    EXPECT_LT(elapsed, 3000u);
    EXPECT_GE(elapsed, 900u);  // ten polls of 100 ms first
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(worker, 0));
    DWORD exitCode = STILL_ACTIVE;
    EXPECT_TRUE(::GetExitCodeThread(worker, &exitCode));
    EXPECT_EQ(0u, exitCode);
    ::CloseHandle(worker);
    EXPECT_EQ(nullptr, manager.GetThreadHandle());
    EXPECT_EQ(std::vector<std::string>{"MenuCommand"}, SoundsSoFar());
}

TEST_F(SoundManagerTest, WithoutADeviceOrWhileDisabledNoWorkerStarts)
{
    {
        ScopedSetting<COSMSoundManager::WaveOutGetNumDevsFn> none{COSMSoundManager::s_pfnWaveOutGetNumDevs, &NoDevice};
        COSMSoundManager manager;
        EXPECT_FALSE(manager.IsDevicePresent());
        manager.PlaySystemSound(COSMSoundManager::kMenuCommand);
        EXPECT_EQ(nullptr, manager.GetThreadHandle());
    }
    COSMSoundManager manager;
    manager.SetEnabled(FALSE);
    manager.PlaySystemSound(COSMSoundManager::kMenuPopup);
    EXPECT_EQ(nullptr, manager.GetThreadHandle());
    // Stopping a worker that never started does nothing.
    manager.StopThread();
    EXPECT_TRUE(PlayedSoFar().empty());
}

TEST_F(SoundManagerTest, TheCommandBarsStopTheProcessWideWorkerWhenTheyGo)
{
    COSMSoundManager* manager = GetSoundManager();
    ASSERT_EQ(manager, GetSoundManager());
    const BOOL hadDevice = manager->IsDevicePresent();
    manager->SetDevicePresent(TRUE);
    {
        RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
        manager->PlaySystemSound(COSMSoundManager::kMenuCommand);
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(g_playing, 5000));
        ASSERT_NE(nullptr, manager->GetThreadHandle());
    }
    EXPECT_EQ(nullptr, manager->GetThreadHandle());
    EXPECT_EQ((std::vector<std::string>{"MenuCommand", ""}), SoundsSoFar());
    manager->SetDevicePresent(hadDevice);
}

}  // namespace
