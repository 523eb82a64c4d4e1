#include "FuzzHarness.h"

#include "CommittedMemory.h"
#include "GdiObjectCount.h"
#include "ProcessorTime.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

namespace fuzz {

namespace {

// The harness whose input is running, for the crash handlers (one runs at a time).
std::atomic<Harness*> g_activeHarness{nullptr};
// What the running input is at (Harness::SetStage).
std::atomic<const char*> g_stage{nullptr};

// " (at: drawing)" for a report, or nothing.
std::string StageNote()
{
    const char* stage = g_stage;
    return stage ? std::string(" (at: ") + stage + ")" : std::string();
}

std::string SecondsText(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f s", seconds);
    return text;
}

// Exit codes the caller (tools/fuzz.sh) tells apart: an input abandoned (slow, hanging, past the memory limit) and
// an input that crashed.
constexpr UINT kExitAbandoned = 3;
constexpr UINT kExitCrashed = 4;

// Closes a kernel handle when it goes (the class library's holders are a layer above the test support).
struct HandleCloser
{
    void operator()(void* handle) const
    {
        if (handle && handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
    }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

double SecondsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string Megabytes(long long bytes)
{
    return std::to_string((bytes + (1 << 19)) >> 20) + " MB";
}

bool WriteBytes(const char* path, const Bytes& bytes)
{
    const OwnedHandle file(
        ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok =
        bytes.empty() || ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return ok && written == bytes.size();
}

// Rewrites an open file from its start with the bytes.
void Rewrite(HANDLE file, const void* data, size_t size)
{
    if (file == INVALID_HANDLE_VALUE)
        return;
    ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    DWORD written = 0;
    if (size)
        ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
    ::SetEndOfFile(file);
}

std::string BaseName(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

Bytes ReadWhole(const std::string& path)
{
    Bytes bytes;
    const OwnedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        return bytes;
    unsigned char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.insert(bytes.end(), buffer, buffer + read);
    return bytes;
}

// The name of an exception code a report gives.
std::string DescribeException(DWORD code, void* address)
{
    char text[160];
    const char* name = code == EXCEPTION_STACK_OVERFLOW        ? "stack overflow, "
                       : code == EXCEPTION_ACCESS_VIOLATION    ? "access violation, "
                       : code == EXCEPTION_INT_DIVIDE_BY_ZERO  ? "division by zero, "
                       : code == EXCEPTION_ILLEGAL_INSTRUCTION ? "illegal instruction, "
                       : code == 0xE06D7363                    ? "C++ exception, "
                                                               : "";
    std::snprintf(text, sizeof(text), "crashed (%sexception 0x%08lX at %p)", name, static_cast<unsigned long>(code),
                  address);
    return text;
}

}  // namespace

RunSettings RunSettings::FromEnvironment(uint32_t seed, int inputs)
{
    RunSettings settings;
    settings.seed = seed;
    settings.inputs = inputs;
    if (const std::string text = Environment("OSM_FUZZ_SEED"); !text.empty())
        settings.seed = static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 0));
    if (const std::string text = Environment("OSM_FUZZ_INPUTS"); !text.empty())
        settings.inputs = std::atoi(text.c_str());
    if (const std::string text = Environment("OSM_FUZZ_SECONDS"); !text.empty())
        settings.seconds = std::atof(text.c_str());
    if (const std::string text = Environment("OSM_FUZZ_FIRST"); !text.empty())
        settings.first = std::atoi(text.c_str());
    if (const std::string text = Environment("OSM_FUZZ_MAX_FAILURES"); !text.empty())
        settings.maxFailures = std::max(1, std::atoi(text.c_str()));
    if (const std::string text = Environment("OSM_FUZZ_ABANDON"); !text.empty())
        settings.abandonSeconds = std::atof(text.c_str());
    if (const std::string text = Environment("OSM_FUZZ_OUT"); !text.empty())
        settings.outDir = text;
    if (const std::string text = Environment("OSM_FUZZ_ELAPSED"); !text.empty())
        settings.elapsedBefore = std::atof(text.c_str());
    for (std::string list = Environment("OSM_FUZZ_REPLAY"); !list.empty();)
    {
        const size_t end = list.find(';');
        if (end != 0)
            settings.replay.push_back(list.substr(0, end));
        list = end == std::string::npos ? "" : list.substr(end + 1);
    }
    return settings;
}

Harness::Harness(std::string parser, RunSettings settings)
    : m_parser(std::move(parser)), m_settings(std::move(settings)), m_mutator(m_settings.seed)
{
    ::InitializeCriticalSection(&m_lock);
}

Harness::~Harness()
{
    CloseRunningFiles();
    ::DeleteCriticalSection(&m_lock);
}

void Harness::SetStage(const char* stage)
{
    g_stage = stage;
}

void Harness::AddCounter(std::string name, std::function<long long()> read)
{
    m_counters.emplace_back(std::move(name), std::move(read));
}

Bytes Harness::MakeInput(const std::vector<Bytes>& corpus, int index, std::string* how)
{
    m_mutator.Reseed(SeriesSeed(m_settings.seed, static_cast<uint64_t>(index)));
    Random& random = m_mutator.GetRandom();
    if (m_generator && static_cast<int>(random.Below(100)) < m_generatedPercent)
    {
        Bytes bytes = m_generator(random);
        if (!random.OneIn(4))
        {
            if (how)
                *how = "generated";
            return bytes;
        }
        bytes = m_mutator.Mutate({bytes});
        if (how)
            *how = "generated, then edits: " + m_mutator.DescribeEdits();
        return bytes;
    }
    Bytes bytes = m_mutator.Mutate(corpus);
    if (how)
        *how = "edits: " + m_mutator.DescribeEdits();
    return bytes;
}

Harness::Usage Harness::Measure() const
{
    Usage usage;
    usage.gdiObjects = CountGdiObjects();
    for (const auto& counter : m_counters)
        usage.counters.push_back(counter.second());
    return usage;
}

std::string Harness::CompareCounts(const Usage& before, const Usage& after) const
{
    std::string what;
    if (after.gdiObjects != before.gdiObjects)
        what += std::to_string(after.gdiObjects - before.gdiObjects) + " GDI objects";
    for (size_t i = 0; i < m_counters.size(); ++i)
    {
        if (after.counters[i] != before.counters[i])
        {
            if (!what.empty())
                what += ", ";
            what += std::to_string(after.counters[i] - before.counters[i]) + " " + m_counters[i].first;
        }
    }
    return what.empty() ? what : what + " left behind";
}

std::string Harness::FileFor(const std::string& label) const
{
    const bool inSeries = label.compare(0, 5, "input") == 0 || label.compare(0, 6, "corpus") == 0;
    return m_settings.outDir + "/" + m_parser + (inSeries ? "-seed" + std::to_string(m_settings.seed) : "") + "-" +
           label + ".bin";
}

std::string Harness::Keep(const Bytes& bytes, const std::string& label)
{
    ::CreateDirectoryA(m_settings.outDir.c_str(), nullptr);
    const std::string path = FileFor(label);
    return WriteBytes(path.c_str(), bytes) ? path : "(not written: " + path + ")";
}

void Harness::Report(std::vector<Failure>& failures, const Bytes& bytes, const std::string& label,
                     const std::string& what)
{
    Failure failure{Keep(bytes, label), label + ": " + what};
    std::printf("FUZZ-FAILURE %s: %s\n", failure.file.c_str(), failure.what.c_str());
    PrintFound(label);
    std::fflush(stdout);
    failures.push_back(std::move(failure));
}

void Harness::PrintFound(const std::string& label) const
{
    const double seconds = m_settings.elapsedBefore + (m_seriesStarted.QuadPart ? SecondsSince(m_seriesStarted) : 0);
    std::printf("[   FUZZ   ] %s: %s found %.0f s into the run\n", m_parser.c_str(), label.c_str(), seconds);
    std::fflush(stdout);
}

void Harness::OpenRunningFiles()
{
    ::CreateDirectoryA(m_settings.outDir.c_str(), nullptr);
    const std::string stem = m_settings.outDir + "/" + m_parser + "-running";
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    m_runningBytes = ::CreateFileA((stem + ".bin").c_str(), GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    m_runningLabelFile = ::CreateFileA((stem + ".txt").c_str(), GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

void Harness::CloseRunningFiles()
{
    if (m_runningBytes == INVALID_HANDLE_VALUE && m_runningLabelFile == INVALID_HANDLE_VALUE)
        return;
    HandleCloser()(m_runningBytes);
    HandleCloser()(m_runningLabelFile);
    m_runningBytes = m_runningLabelFile = INVALID_HANDLE_VALUE;
    const std::string stem = m_settings.outDir + "/" + m_parser + "-running";
    ::DeleteFileA((stem + ".bin").c_str());
    ::DeleteFileA((stem + ".txt").c_str());
}

void Harness::MarkRunning(const Bytes& bytes, const std::string& label)
{
    // On disk first: a process death that no handler sees still leaves the input and its name behind.
    Rewrite(m_runningBytes, bytes.data(), bytes.size());
    const std::string line = "seed " + std::to_string(m_settings.seed) + " " + label + "\n";
    Rewrite(m_runningLabelFile, line.data(), line.size());

    ::EnterCriticalSection(&m_lock);
    m_running = &bytes;
    m_runningLabel = label;
    m_runningFile = FileFor(label);
    m_runningKept = false;
    m_memoryReported = false;
    m_runningBaseline = m_runningPeak = m_lastCommitted;
    g_stage = nullptr;
    ::QueryPerformanceCounter(&m_runningSince);
    m_runningProcessorSince = ThreadProcessorSeconds();
    ::LeaveCriticalSection(&m_lock);
}

std::string Harness::RunOne(const Bytes& bytes, const std::string& label, const Check& check)
{
    MarkRunning(bytes, label);
    std::string what;
    try
    {
        what = check(bytes);
    }
    catch (const std::exception& e)
    {
        what = std::string("the parser let out an exception: ") + e.what();
    }
    catch (...)
    {
        what = "the parser let out an exception";
    }

    const double processor = ThreadProcessorSeconds() - m_runningProcessorSince;
    ::EnterCriticalSection(&m_lock);
    const double wall = SecondsSince(m_runningSince);
    const long long peak = m_runningPeak - m_runningBaseline;
    m_running = nullptr;
    ::LeaveCriticalSection(&m_lock);
    ++m_inputsRun;
    // An input's time is the processor time it used: on a machine busy with other work the clock runs on while the
    // input waits its turn, and the same series must give the same findings there. An input that waits for ever is
    // the watchdog's, which goes by the clock.
    if (processor > m_slowestSeconds)
    {
        m_slowestSeconds = processor;
        m_slowestLabel = label;
    }
    if (what.empty() && processor > kInputSeconds)
        what = "took " + SecondsText(processor) + " of processor time, " + SecondsText(wall) +
               " in all (the limit is " + SecondsText(kInputSeconds) + ")";
    if (what.empty() && peak > kInputMemoryLimit)
        what = "committed " + Megabytes(peak) + " while it ran (the limit is " + Megabytes(kInputMemoryLimit) + ")";
    return what;
}

std::string Harness::RunChecked(const Bytes& bytes, const std::string& label, const Check& check, bool counts)
{
    const Usage before = counts ? Measure() : Usage{};
    std::string what = RunOne(bytes, label, check);
    const long long committed = CommittedPrivateBytes();
    const long long left = committed - m_lastCommitted;
    m_lastCommitted = committed;
    if (what.empty() && left > kInputMemoryLimit)
    {
        // Past any allocator's keeping: run again it would only take as much again.
        what = "left " + Megabytes(left) + " committed after its objects were released";
    }
    else if (what.empty() && left > kLeftCommitTolerance)
    {
        // Pages an allocator keeps for the next time stay once; a leak leaves as much again.
        what = RunOne(bytes, label, check);
        const long long again = CommittedPrivateBytes();
        if (what.empty() && again - m_lastCommitted > kLeftCommitTolerance)
            what = "left " + Megabytes(left) + " committed after its objects were released, and " +
                   Megabytes(again - m_lastCommitted) + " more when run again";
        m_lastCommitted = again;
    }
    if (what.empty() && counts)
    {
        what = CompareCounts(before, Measure());
        if (!what.empty())
        {
            // Something the process makes once, on first use, stays too; a leak leaves more again on a rerun.
            const Usage again = Measure();
            what = RunOne(bytes, label, check);
            if (what.empty())
                what = CompareCounts(again, Measure());
            m_lastCommitted = CommittedPrivateBytes();
        }
    }
    return what;
}

void Harness::FindLeakingInput(const std::vector<Bytes>& corpus, int firstIndex, int count, const std::string& left,
                               const Check& check, std::vector<Failure>& failures)
{
    for (int index = firstIndex; index < firstIndex + count; ++index)
    {
        const Bytes bytes = MakeInput(corpus, index);
        const Usage before = Measure();
        RunOne(bytes, "input" + std::to_string(index), check);
        const std::string leak = CompareCounts(before, Measure());
        if (!leak.empty())
        {
            Report(failures, bytes, "input" + std::to_string(index), leak);
            m_lastCommitted = CommittedPrivateBytes();
            return;
        }
    }
    // None alone: the batch again, whole. What it leaves the second time is a leak; what it left only the first
    // time was set up on first use (a type's properties registered, a cache filled once).
    const Usage before = Measure();
    for (int index = firstIndex; index < firstIndex + count; ++index)
        RunOne(MakeInput(corpus, index), "input" + std::to_string(index), check);
    if (!CompareCounts(before, Measure()).empty())
        failures.push_back({"", "inputs " + std::to_string(firstIndex) + " to " +
                                    std::to_string(firstIndex + count - 1) + " left " + left +
                                    " together, and again when run again; none does alone"});
    m_lastCommitted = CommittedPrivateBytes();
}

std::vector<Failure> Harness::Run(const std::vector<Bytes>& corpus, const Check& check)
{
    std::vector<Failure> failures;
    g_activeHarness = this;
    m_previousFilter = ::SetUnhandledExceptionFilter(&Harness::OnUnhandledException);
    // First in line: a stack overflow is handed over before anything else runs on what is left of the stack.
    m_vectoredHandler = ::AddVectoredExceptionHandler(1, &Harness::OnVectoredException);
    m_stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_crashed = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_watchdog = ::CreateThread(nullptr, 0, &Harness::WatchdogThread, this, 0, nullptr);
    OpenRunningFiles();
    m_lastCommitted = CommittedPrivateBytes();

    // The corpus twice: it must pass, and what the process sets up on first use (fonts, GDI+, the theme data)
    // is made before the counts are taken.
    for (int round = 0; round < 2; ++round)
    {
        for (size_t i = 0; i < corpus.size(); ++i)
        {
            const std::string label = "corpus" + std::to_string(i);
            const std::string what = RunOne(corpus[i], label, check);
            m_lastCommitted = CommittedPrivateBytes();
            if (!what.empty() && round == 0)
                Report(failures, corpus[i], label, what);
        }
    }

    LARGE_INTEGER started{};
    ::QueryPerformanceCounter(&started);
    m_seriesStarted = started;
    const size_t maxFailures = static_cast<size_t>(m_settings.maxFailures);
    int last = m_settings.first - 1;
    if (!m_settings.replay.empty())
    {
        for (const std::string& path : m_settings.replay)
        {
            const Bytes bytes = ReadWhole(path);
            const std::string label = "replay-" + BaseName(path);
            if (const std::string what = RunChecked(bytes, label, check, true); !what.empty())
                Report(failures, bytes, label, what);
        }
    }
    else
    {
        Usage baseline = Measure();
        const long long startCommitted = m_lastCommitted;
        int batchStart = m_settings.first;
        for (int index = m_settings.first; failures.size() < maxFailures; ++index)
        {
            const bool timeUp = m_settings.seconds > 0 ? SecondsSince(started) >= m_settings.seconds
                                                       : index >= m_settings.first + m_settings.inputs;
            if (timeUp || index - batchStart == m_settings.batch)
            {
                // What the batch left behind.
                if (const std::string left = CompareCounts(baseline, Measure()); !left.empty())
                    FindLeakingInput(corpus, batchStart, index - batchStart, left, check, failures);
                baseline = Measure();
                batchStart = index;
                if (timeUp)
                    break;
            }
            std::string how;
            const Bytes bytes = MakeInput(corpus, index, &how);
            const std::string label = "input" + std::to_string(index);
            if (const std::string what = RunChecked(bytes, label, check, m_checkEveryInput); !what.empty())
            {
                Report(failures, bytes, label, what + " (" + how + ")");
                baseline = Measure();
            }
            last = index;
            if (m_lastCommitted - startCommitted > kRunGrowthLimit)
            {
                // Leaks found and run twice each add up: the memory goes back with the process.
                std::printf("[   FUZZ   ] %s: the process holds %s more than when the series began\n", m_parser.c_str(),
                            Megabytes(m_lastCommitted - startCommitted).c_str());
                if (m_settings.abandonSeconds > 0)
                {
                    const std::string next =
                        "seed " + std::to_string(m_settings.seed) + " next" + std::to_string(index + 1) + "\n";
                    Rewrite(m_runningLabelFile, next.data(), next.size());
                    std::printf("[   FUZZ   ] %s: the program ends before input%d\n", m_parser.c_str(), index + 1);
                    std::fflush(stdout);
                    ::TerminateProcess(::GetCurrentProcess(), kExitAbandoned);
                }
                failures.push_back({"", "the run stopped after input" + std::to_string(index) + ": the process held " +
                                            Megabytes(m_lastCommitted - startCommitted) + " more than at its start"});
                break;
            }
        }
    }

    std::printf("[   FUZZ   ] %s: %d inputs (%d to %d) from seed %u in %.1f s, %zu failures; the slowest, %s, took "
                "%.2f s of processor time\n",
                m_parser.c_str(), m_inputsRun, m_settings.first, last, m_settings.seed, SecondsSince(started),
                failures.size(), m_slowestLabel.c_str(), m_slowestSeconds);
    std::fflush(stdout);

    ::SetEvent(m_stop);
    ::WaitForSingleObject(m_watchdog, INFINITE);
    for (HANDLE* handle : {&m_watchdog, &m_stop, &m_crashed})
    {
        HandleCloser()(*handle);
        *handle = nullptr;
    }
    CloseRunningFiles();
    ::RemoveVectoredExceptionHandler(m_vectoredHandler);
    m_vectoredHandler = nullptr;
    ::SetUnhandledExceptionFilter(m_previousFilter);
    g_activeHarness = nullptr;
    return failures;
}

DWORD WINAPI Harness::WatchdogThread(void* parameter)
{
    // Nothing here throws but a failed allocation, and a watchdog that cannot watch must not pass quietly.
    try
    {
        static_cast<Harness*>(parameter)->Watch();
    }
    catch (...)
    {
        std::printf("[  FAILED  ] the bad-input harness's watchdog failed\n");
        std::fflush(stdout);
        ::TerminateProcess(::GetCurrentProcess(), kExitAbandoned);
    }
    return 0;
}

void Harness::EndProgram(const std::string& what, UINT exitCode)
{
    // The lock is held: the running input stays put while it is written.
    if (m_running)
        WriteBytes(m_runningFile.c_str(), *m_running);
    const std::string where = StageNote();
    PrintFound(m_runningLabel);
    std::printf("FUZZ-FAILURE %s: %s: %s%s\n"
                "[   FUZZ   ] %s: the program ends at %s\n"
                "[  FAILED  ] %s: an input %s\n",
                m_runningFile.c_str(), m_runningLabel.c_str(), what.c_str(), where.c_str(), m_parser.c_str(),
                m_runningLabel.c_str(), m_parser.c_str(),
                exitCode == kExitCrashed ? "crashes the program" : "was abandoned");
    std::fflush(stdout);
    ::TerminateProcess(::GetCurrentProcess(), exitCode);
}

void Harness::Watch()
{
    const HANDLE events[] = {m_stop, m_crashed};
    int ticks = 0;
    for (;;)
    {
        const DWORD woke = ::WaitForMultipleObjects(2, events, FALSE, 50);
        if (woke == WAIT_OBJECT_0)
            return;
        ::EnterCriticalSection(&m_lock);
        if (woke == WAIT_OBJECT_0 + 1)
            EndProgram(DescribeException(m_crashCode, m_crashAddress), kExitCrashed);
        if (m_running)
        {
            const double seconds = SecondsSince(m_runningSince);
            // The memory every other tick: a walk of the address space costs about a millisecond.
            if (++ticks % 2 == 0)
                m_runningPeak = std::max(m_runningPeak, CommittedPrivateBytes());
            const long long peak = m_runningPeak - m_runningBaseline;
            if (peak > kMemoryHardLimit)
                EndProgram("committed " + Megabytes(peak) + " while it ran", kExitAbandoned);
            if (peak > kInputMemoryLimit && !m_memoryReported)
            {
                m_memoryReported = true;
                if (m_settings.abandonSeconds > 0)
                    EndProgram("committed " + Megabytes(peak) + " while it ran (the limit is " +
                                   Megabytes(kInputMemoryLimit) + ")",
                               kExitAbandoned);
                std::printf("[   FUZZ   ] %s: %s has committed %s\n", m_parser.c_str(), m_runningLabel.c_str(),
                            Megabytes(peak).c_str());
                std::fflush(stdout);
            }
            if (seconds > kInputSeconds && !m_runningKept)
            {
                // Kept now: the input may never come back.
                m_runningKept = true;
                WriteBytes(m_runningFile.c_str(), *m_running);
                std::printf("[   FUZZ   ] %s: %s still runs after %.0f s; its bytes are in %s\n", m_parser.c_str(),
                            m_runningLabel.c_str(), kInputSeconds, m_runningFile.c_str());
                std::fflush(stdout);
            }
            if (m_settings.abandonSeconds > 0 && seconds > m_settings.abandonSeconds)
                EndProgram("still ran after " + SecondsText(seconds) + " (the limit is " + SecondsText(kInputSeconds) +
                               ")",
                           kExitAbandoned);
            if (seconds * 1000 > kHangMilliseconds)
                EndProgram("did not finish within " + std::to_string(kHangMilliseconds / 1000) + " s", kExitAbandoned);
        }
        ::LeaveCriticalSection(&m_lock);
    }
}

LONG Harness::HandOverCrash(EXCEPTION_POINTERS* info)
{
    Harness* harness = g_activeHarness;
    if (!harness || !harness->m_running || !harness->m_crashed)
        return EXCEPTION_CONTINUE_SEARCH;
    // Little stack may be left: only the code and an event here; the watchdog writes, reports and ends.
    harness->m_crashCode = info->ExceptionRecord->ExceptionCode;
    harness->m_crashAddress = info->ExceptionRecord->ExceptionAddress;
    ::SetEvent(harness->m_crashed);
    ::Sleep(INFINITE);
    return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI Harness::OnVectoredException(EXCEPTION_POINTERS* info)
{
    // Only the overflow: every other exception may still be handled further up (C++ exceptions, guarded probes).
    if (info->ExceptionRecord->ExceptionCode != EXCEPTION_STACK_OVERFLOW)
        return EXCEPTION_CONTINUE_SEARCH;
    return HandOverCrash(info);
}

LONG WINAPI Harness::OnUnhandledException(EXCEPTION_POINTERS* info)
{
    HandOverCrash(info);
    return EXCEPTION_EXECUTE_HANDLER;
}

std::string Describe(const std::vector<Failure>& failures)
{
    std::string text;
    for (const Failure& failure : failures)
        text += "\n  " + failure.what + (failure.file.empty() ? "" : " [" + failure.file + "]");
    return text;
}

}  // namespace fuzz
