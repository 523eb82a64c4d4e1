// The bad-input harness: puts a parser's corpus, then a deterministic series of mutations of it, through a check
// that makes the calls a host makes with such data, and fails on an input that crashes, hangs, takes more than
// kInputSeconds, answers wrongly, or leaves the process holding more than before. Every failing input is written to
// a file whose name is printed ("FUZZ-FAILURE <file>: <what>"), so it can be kept as a fixture.
//
// - A watchdog thread keeps the running input: past kInputSeconds it writes the input's file; past
//   kHangMilliseconds it prints the failure and ends the program, which never hangs a test run.
// - A crash (an exception nothing handles) writes the running input's file and prints it before the program ends.
// - After each batch the GDI objects, the registered counters (the markup live objects) and the private bytes are
//   compared with what they were after the warm-up; a batch that leaks is replayed one input at a time to find the
//   input that does.
//
// In CI a test runs a fixed seed and count; tools/fuzz.sh sets OSM_FUZZ_SEED, OSM_FUZZ_INPUTS, OSM_FUZZ_SECONDS and
// OSM_FUZZ_OUT to run the same series, or a new one, for as long as asked.
//
//   fuzz::Harness harness("markup", fuzz::RunSettings::FromEnvironment(20261212u, 400));
//   harness.AddCounter("markup objects", [] { return COSMMarkupObject::GetLiveObjectCount(); });
//   const auto failures = harness.Run(corpus, [](const fuzz::Bytes& bytes) { ...; return std::string(); });
//   EXPECT_TRUE(failures.empty()) << fuzz::Describe(failures);
#pragma once

#include "FuzzMutator.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace fuzz {

// How a run goes: the test's fixed values unless the environment names others.
struct RunSettings
{
    uint32_t seed = 0;
    // Mutated inputs to run; with seconds set, as many as the time allows.
    int inputs = 0;
    double seconds = 0;
    // Inputs between two checks of what the process holds.
    int batch = 100;
    // Where failing inputs are written.
    std::string outDir = "fuzz-failures";

    // seed and inputs, replaced by OSM_FUZZ_SEED, OSM_FUZZ_INPUTS, OSM_FUZZ_SECONDS (a run for that long) and
    // OSM_FUZZ_OUT when they are set.
    static RunSettings FromEnvironment(uint32_t seed, int inputs);
};

// One input that failed, and the file holding its bytes (empty for a growth no single input explains).
struct Failure
{
    std::string file;
    std::string what;
};

// "" for a sound outcome, else what was wrong. Exceptions a parser lets out are failures.
using Check = std::function<std::string(const Bytes&)>;

class Harness
{
public:
    static constexpr double kInputSeconds = 2.0;
    static constexpr DWORD kHangMilliseconds = 30000;
    // Heap growth a batch may leave (allocator pages kept for reuse, caches filled once): far less than any leak a
    // batch of damaged inputs would show.
    static constexpr long long kPrivateBytesTolerance = 4ll << 20;

    Harness(std::string parser, RunSettings settings);
    ~Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    void SetDictionary(std::vector<std::string> tokens) { m_mutator.SetDictionary(std::move(tokens)); }
    // A count that must be back where it started after every input (checked after each batch).
    void AddCounter(std::string name, std::function<long long()> read);
    // Check every input's GDI objects and counters right after it, not only after each batch: for parsers slow
    // enough that the count costs little beside them.
    void SetCheckEveryInput(bool every) { m_checkEveryInput = every; }

    // The corpus (each entry must pass), then the mutations; the failures found.
    std::vector<Failure> Run(const std::vector<Bytes>& corpus, const Check& check);

    int InputsRun() const { return m_inputsRun; }
    const RunSettings& Settings() const { return m_settings; }

private:
    struct Usage
    {
        int gdiObjects = 0;
        std::vector<long long> counters;
        long long privateBytes = 0;
    };

    // Runs one input under the watchdog; "" or what went wrong (slow, wrong outcome, an exception).
    std::string RunOne(const Bytes& bytes, const std::string& label, const Check& check);
    Usage Measure(bool withGdi) const;
    // What differs between two measures in the exact counts; "" when nothing does.
    std::string CompareCounts(const Usage& before, const Usage& after) const;
    std::string Keep(const Bytes& bytes, const std::string& label);
    void Report(std::vector<Failure>& failures, const Bytes& bytes, const std::string& label, const std::string& what);
    // The batch's inputs again, one at a time, to name the one that leaves something behind.
    void FindLeakingInput(const std::vector<Bytes>& batch, int firstIndex, const std::string& left, const Check& check,
                          std::vector<Failure>& failures);

    static DWORD WINAPI WatchdogThread(void* parameter);
    static LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info);
    void Watch();

    std::string m_parser;
    RunSettings m_settings;
    Mutator m_mutator;
    std::vector<std::pair<std::string, std::function<long long()>>> m_counters;
    bool m_checkEveryInput = false;
    int m_inputsRun = 0;

    // What the watchdog and the crash filter see of the running input.
    CRITICAL_SECTION m_lock;
    const Bytes* m_running = nullptr;
    std::string m_runningLabel;
    char m_runningFile[MAX_PATH] = {};
    LARGE_INTEGER m_runningSince{};
    bool m_runningKept = false;
    HANDLE m_stop = nullptr;
    HANDLE m_watchdog = nullptr;
    LPTOP_LEVEL_EXCEPTION_FILTER m_previousFilter = nullptr;
};

// The failures, one a line, for an assertion's message.
std::string Describe(const std::vector<Failure>& failures);

}  // namespace fuzz
