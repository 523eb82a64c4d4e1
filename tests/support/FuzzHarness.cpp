#include "FuzzHarness.h"

#include "GdiObjectCount.h"

// The psapi.dll entry, which every Windows since NT 4 has (the kernel32 one is Windows 7's).
#define PSAPI_VERSION 1
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace fuzz {

namespace {

// The harness whose input is running, for the crash filter (one runs at a time).
Harness* g_activeHarness = nullptr;

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

bool WriteBytes(const char* path, const Bytes& bytes)
{
    HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok =
        bytes.empty() || ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
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
    if (const std::string text = Environment("OSM_FUZZ_OUT"); !text.empty())
        settings.outDir = text;
    return settings;
}

Harness::Harness(std::string parser, RunSettings settings)
    : m_parser(std::move(parser)), m_settings(std::move(settings)), m_mutator(m_settings.seed)
{
    ::InitializeCriticalSection(&m_lock);
}

Harness::~Harness()
{
    ::DeleteCriticalSection(&m_lock);
}

void Harness::AddCounter(std::string name, std::function<long long()> read)
{
    m_counters.emplace_back(std::move(name), std::move(read));
}

Harness::Usage Harness::Measure(bool withGdi) const
{
    Usage usage;
    if (withGdi)
        usage.gdiObjects = CountGdiObjects();
    for (const auto& counter : m_counters)
        usage.counters.push_back(counter.second());
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                               sizeof(memory)))
        usage.privateBytes = static_cast<long long>(memory.PrivateUsage);
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

std::string Harness::Keep(const Bytes& bytes, const std::string& label)
{
    ::CreateDirectoryA(m_settings.outDir.c_str(), nullptr);
    const std::string path =
        m_settings.outDir + "/" + m_parser + "-seed" + std::to_string(m_settings.seed) + "-" + label + ".bin";
    return WriteBytes(path.c_str(), bytes) ? path : "(not written: " + path + ")";
}

void Harness::Report(std::vector<Failure>& failures, const Bytes& bytes, const std::string& label,
                     const std::string& what)
{
    Failure failure{Keep(bytes, label), label + ": " + what};
    std::printf("FUZZ-FAILURE %s: %s\n", failure.file.c_str(), failure.what.c_str());
    std::fflush(stdout);
    failures.push_back(std::move(failure));
}

std::string Harness::RunOne(const Bytes& bytes, const std::string& label, const Check& check)
{
    const std::string path =
        m_settings.outDir + "/" + m_parser + "-seed" + std::to_string(m_settings.seed) + "-" + label + ".bin";
    ::EnterCriticalSection(&m_lock);
    m_running = &bytes;
    m_runningLabel = label;
    lstrcpynA(m_runningFile, path.c_str(), MAX_PATH);
    m_runningKept = false;
    ::QueryPerformanceCounter(&m_runningSince);
    ::LeaveCriticalSection(&m_lock);

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

    ::EnterCriticalSection(&m_lock);
    const double seconds = SecondsSince(m_runningSince);
    m_running = nullptr;
    ::LeaveCriticalSection(&m_lock);
    ++m_inputsRun;
    if (what.empty() && seconds > kInputSeconds)
        what = "took " + std::to_string(seconds) + " s";
    return what;
}

void Harness::FindLeakingInput(const std::vector<Bytes>& batch, int firstIndex, const std::string& left,
                               const Check& check, std::vector<Failure>& failures)
{
    for (size_t i = 0; i < batch.size(); ++i)
    {
        const Usage before = Measure(true);
        const std::string label = "input" + std::to_string(firstIndex + static_cast<int>(i));
        RunOne(batch[i], label + "-again", check);
        const std::string leak = CompareCounts(before, Measure(true));
        if (!leak.empty())
        {
            Report(failures, batch[i], label, leak);
            return;
        }
    }
    // None alone: the batch again, whole. What it leaves the second time is a leak; what it left only the first
    // time was set up on first use (a type's properties registered, a cache filled once).
    const Usage before = Measure(true);
    for (size_t i = 0; i < batch.size(); ++i)
        RunOne(batch[i], "input" + std::to_string(firstIndex + static_cast<int>(i)) + "-again", check);
    if (!CompareCounts(before, Measure(true)).empty())
        failures.push_back({"", "inputs " + std::to_string(firstIndex) + " to " +
                                    std::to_string(firstIndex + static_cast<int>(batch.size()) - 1) + " left " + left +
                                    " together, and again when run again; none does alone"});
}

std::vector<Failure> Harness::Run(const std::vector<Bytes>& corpus, const Check& check)
{
    std::vector<Failure> failures;
    g_activeHarness = this;
    m_previousFilter = ::SetUnhandledExceptionFilter(&Harness::OnUnhandledException);
    m_stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_watchdog = ::CreateThread(nullptr, 0, &Harness::WatchdogThread, this, 0, nullptr);
    ::CreateDirectoryA(m_settings.outDir.c_str(), nullptr);

    // The corpus twice: it must pass, and what the process sets up on first use (fonts, GDI+, the theme data)
    // is made before the counts are taken.
    for (int round = 0; round < 2; ++round)
    {
        for (size_t i = 0; i < corpus.size(); ++i)
        {
            const std::string label = "corpus" + std::to_string(i);
            if (const std::string what = RunOne(corpus[i], label, check); !what.empty() && round == 0)
                Report(failures, corpus[i], label, what);
        }
    }

    LARGE_INTEGER started{};
    ::QueryPerformanceCounter(&started);
    Usage baseline = Measure(true);
    std::vector<Bytes> batch;
    int batchStart = 0;
    const size_t kMaxFailures = 20;
    for (int index = 0; failures.size() < kMaxFailures; ++index)
    {
        const bool timeUp =
            m_settings.seconds > 0 ? SecondsSince(started) >= m_settings.seconds : index >= m_settings.inputs;
        if (timeUp || static_cast<int>(batch.size()) == m_settings.batch)
        {
            // What the batch left behind.
            const Usage after = Measure(true);
            if (const std::string left = CompareCounts(baseline, after); !left.empty())
                FindLeakingInput(batch, batchStart, left, check, failures);
            else if (after.privateBytes - baseline.privateBytes > kPrivateBytesTolerance)
                failures.push_back({"", "the private bytes grew by " +
                                            std::to_string((after.privateBytes - baseline.privateBytes) / 1024) +
                                            " KB over inputs up to " + std::to_string(index - 1)});
            baseline = Measure(true);
            batch.clear();
            batchStart = index;
            if (timeUp)
                break;
        }
        Bytes bytes = m_mutator.Mutate(corpus);
        const std::string label = "input" + std::to_string(index);
        const Usage before = m_checkEveryInput ? Measure(true) : Usage{};
        std::string what = RunOne(bytes, label, check);
        if (what.empty() && m_checkEveryInput)
        {
            what = CompareCounts(before, Measure(true));
            if (!what.empty())
            {
                // Something the process makes once, on first use, stays too; a leak leaves more again on a rerun.
                const Usage again = Measure(true);
                what = RunOne(bytes, label, check);
                if (what.empty())
                    what = CompareCounts(again, Measure(true));
            }
        }
        if (!what.empty())
        {
            Report(failures, bytes, label, what + " (edits: " + m_mutator.DescribeEdits() + ")");
            baseline = Measure(true);
        }
        batch.push_back(std::move(bytes));
    }

    std::printf("[   FUZZ   ] %s: %d inputs from seed %u in %.1f s, %zu failures\n", m_parser.c_str(), m_inputsRun,
                m_settings.seed, SecondsSince(started), failures.size());
    std::fflush(stdout);

    ::SetEvent(m_stop);
    ::WaitForSingleObject(m_watchdog, INFINITE);
    ::CloseHandle(m_watchdog);
    ::CloseHandle(m_stop);
    m_watchdog = m_stop = nullptr;
    ::SetUnhandledExceptionFilter(m_previousFilter);
    g_activeHarness = nullptr;
    return failures;
}

DWORD WINAPI Harness::WatchdogThread(void* parameter)
{
    static_cast<Harness*>(parameter)->Watch();
    return 0;
}

void Harness::Watch()
{
    while (::WaitForSingleObject(m_stop, 100) == WAIT_TIMEOUT)
    {
        ::EnterCriticalSection(&m_lock);
        if (m_running)
        {
            const double seconds = SecondsSince(m_runningSince);
            if (seconds > kInputSeconds && !m_runningKept)
            {
                // Kept now: the input may never come back.
                m_runningKept = true;
                WriteBytes(m_runningFile, *m_running);
                std::printf("[   FUZZ   ] %s: %s still runs after %.0f s; its bytes are in %s\n", m_parser.c_str(),
                            m_runningLabel.c_str(), kInputSeconds, m_runningFile);
                std::fflush(stdout);
            }
            if (seconds * 1000 > kHangMilliseconds)
            {
                std::printf("FUZZ-FAILURE %s: %s did not finish within %lu s\n"
                            "[  FAILED  ] %s: an input hangs; the program ends here\n",
                            m_runningFile, m_runningLabel.c_str(), kHangMilliseconds / 1000, m_parser.c_str());
                std::fflush(stdout);
                ::TerminateProcess(::GetCurrentProcess(), 3);
            }
        }
        ::LeaveCriticalSection(&m_lock);
    }
}

LONG WINAPI Harness::OnUnhandledException(EXCEPTION_POINTERS* info)
{
    Harness* harness = g_activeHarness;
    if (harness && harness->m_running)
    {
        WriteBytes(harness->m_runningFile, *harness->m_running);
        std::printf("FUZZ-FAILURE %s: %s crashed (exception 0x%08lX at %p)\n"
                    "[  FAILED  ] %s: an input crashes the program\n",
                    harness->m_runningFile, harness->m_runningLabel.c_str(),
                    static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
                    info->ExceptionRecord->ExceptionAddress, harness->m_parser.c_str());
        std::fflush(stdout);
    }
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
