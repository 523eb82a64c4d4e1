// Run by ThreadLocalTests: makes per-thread objects on a worker and on the main thread, then returns from main. The
// destructors print as they run, so the test sees which objects went, on which thread and in which order.
#include "classlib/ClassLib.h"

#include <string>

namespace {

void Print(const std::string& line)
{
    // Straight to the handle: the C runtime's streams may already be closing while the last destructors run.
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string ThisThread()
{
    return std::to_string(::GetCurrentThreadId());
}

struct Older
{
    ~Older() { Print("older object gone on thread " + ThisThread() + "\n"); }
};

struct Newer
{
    ~Newer() { Print("newer object gone on thread " + ThisThread() + "\n"); }
};

struct WorkerObject
{
    DWORD owner = ::GetCurrentThreadId();
    ~WorkerObject()
    {
        Print(owner == ::GetCurrentThreadId() ? "worker object gone on its thread\n"
                                              : "worker object gone elsewhere\n");
    }
};

CThreadLocal<Older> g_older;
CThreadLocal<Newer> g_newer;
CThreadLocal<WorkerObject> g_workerObject;

DWORD WINAPI WorkerMain(LPVOID)
{
    g_workerObject.GetData();
    return 0;
}

}  // namespace

int main()
{
    Print("main " + ThisThread() + "\n");
    g_older.GetData();
    g_newer.GetData();

    HANDLE hWorker = ::CreateThread(nullptr, 0, &WorkerMain, nullptr, 0, nullptr);
    if (!hWorker)
        return 2;
    ::WaitForSingleObject(hWorker, INFINITE);
    ::CloseHandle(hWorker);

    Print("main thread returns\n");
    return 0;
}
