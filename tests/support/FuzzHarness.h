// The bad-input harness: puts a parser's corpus, then a deterministic series of inputs (mutations of the corpus, and
// inputs a generator makes from the format's own vocabulary), through a check that makes the calls a host makes with
// such data. An input is a finding when it crashes (a stack overflow among crashes), takes more than kInputSeconds
// of processor time,
// commits more than kInputMemoryLimit while it runs, answers wrongly, or leaves the process holding more than before
// (GDI objects, the registered counters, or more than kLeftCommitTolerance of committed memory, again when run
// again). Every finding is written to a file whose name is printed ("FUZZ-FAILURE <file>: <label>: <what>"), so it
// can be kept as a fixture.
//
// - Input N of a seed's series is made from (seed, N) alone: OSM_FUZZ_FIRST=N OSM_FUZZ_INPUTS=1 makes it again.
// - Before it runs, each input's bytes go to PARSER-running.bin and its label to PARSER-running.txt in the failures
//   folder: when the process dies in a way nothing inside it sees, tools/fuzz.sh still names the input.
// - A watchdog thread watches the running input: past kInputSeconds it writes the input's file; past the abandon
//   time (OSM_FUZZ_ABANDON, tools/fuzz.sh sets it) or past kHangMilliseconds it reports the input and ends the
//   program (exit code 3); it samples the committed memory and reports an input past the limit.
// - A crash (an exception nothing handles, or a stack overflow, caught first by a vectored handler) hands over to
//   the watchdog, which writes the input's file, reports it and ends the program (exit code 4).
// - After each batch the GDI objects and the registered counters (the markup live objects) are compared with what
//   they were; a batch that leaks is made again and run one input at a time to find the input that does.
//
// In CI a test runs a fixed seed and count; tools/fuzz.sh sets OSM_FUZZ_SEED, OSM_FUZZ_INPUTS, OSM_FUZZ_SECONDS,
// OSM_FUZZ_FIRST, OSM_FUZZ_OUT, OSM_FUZZ_ABANDON, OSM_FUZZ_MAX_FAILURES, OSM_FUZZ_ELAPSED and OSM_FUZZ_REPLAY (files
// run instead of the series, separated by ';') to run the same series, a part of it, or a new one, for as long as
// asked.
//
//   fuzz::Harness harness("markup", fuzz::RunSettings::FromEnvironment(20261212u, 400));
//   harness.AddCounter("markup objects", [] { return COSMMarkupObject::GetLiveObjectCount(); });
//   harness.SetGenerator([](fuzz::Random& random) { return MakeDocument(random); }, 50);
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
    // Inputs to run; with seconds set, as many as the time allows.
    int inputs = 0;
    double seconds = 0;
    // The index of the series' first input to run.
    int first = 0;
    // Inputs between two checks of what the process holds.
    int batch = 100;
    // The run stops after this many findings.
    int maxFailures = 20;
    // Past this (when set) a running input is reported and the program ends, so that a caller can go on from the
    // next input in a new process instead of waiting for the slow one.
    double abandonSeconds = 0;
    // Where failing inputs are written.
    std::string outDir = "fuzz-failures";
    // Files to run instead of the series.
    std::vector<std::string> replay;
    // Seconds the run had taken before this program started (a caller that starts it again after an abandoned
    // input), for the time each finding is reported with.
    double elapsedBefore = 0;

    // seed and inputs, replaced by the OSM_FUZZ_* variables that are set.
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
// A new input from the format's own vocabulary, all its choices made by random.
using Generator = std::function<Bytes(Random&)>;

class Harness
{
public:
    static constexpr double kInputSeconds = 2.0;
    static constexpr DWORD kHangMilliseconds = 30000;
    // Committed memory an input may leave behind after its objects are released (allocator pages kept for reuse,
    // caches filled once): far less than a decoded image or a leaked frame buffer. An input past it is run again and
    // is a finding when it leaves as much again.
    static constexpr long long kLeftCommitTolerance = 4ll << 20;
    // Committed memory an input may take while it runs, beyond what the process held before: several copies of the
    // largest image the framework takes (64 MB).
    static constexpr long long kInputMemoryLimit = 512ll << 20;
    // Past this the program ends at once, whatever the settings: the machine is shared.
    static constexpr long long kMemoryHardLimit = 3072ll << 20;
    // What inputs that leak may leave the process holding, all together, before the run stops (a caller that
    // abandons inputs starts a new process from the next input).
    static constexpr long long kRunGrowthLimit = 1024ll << 20;

    Harness(std::string parser, RunSettings settings);
    ~Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    void SetDictionary(std::vector<std::string> tokens) { m_mutator.SetDictionary(std::move(tokens)); }
    // Stacks of edits, large repeats, numbers made extreme and fields set (FuzzMutator.h).
    void SetLargeEdits(bool large) { m_mutator.SetLargeEdits(large); }
    // Edits that know the format and the repair of its checksums (FuzzImageFormats.h for images).
    void SetStructure(Mutator::StructureEdit edit, Mutator::Repair repair)
    {
        m_mutator.SetStructure(std::move(edit), std::move(repair));
    }
    // percent of the inputs are made by generate instead of by mutating the corpus (a quarter of them mutated after).
    void SetGenerator(Generator generate, int percent)
    {
        m_generator = std::move(generate);
        m_generatedPercent = percent;
    }
    // A count that must be back where it started after every input (checked after each batch).
    void AddCounter(std::string name, std::function<long long()> read);
    // Check every input's GDI objects and counters right after it, not only after each batch: for parsers slow
    // enough that the count costs little beside them.
    void SetCheckEveryInput(bool every) { m_checkEveryInput = every; }

    // What the running input is at ("drawing through GDI"), named in the reports of a slow, hanging or crashing
    // input; a static string, or null. Each input starts with none.
    static void SetStage(const char* stage);

    // The corpus (each entry must pass), then the series or the replayed files; the failures found.
    std::vector<Failure> Run(const std::vector<Bytes>& corpus, const Check& check);

    int InputsRun() const { return m_inputsRun; }
    const RunSettings& Settings() const { return m_settings; }
    // Input `index` of the series, as Run makes it; *how receives how it was made.
    Bytes MakeInput(const std::vector<Bytes>& corpus, int index, std::string* how = nullptr);

private:
    struct Usage
    {
        int gdiObjects = 0;
        std::vector<long long> counters;
    };

    // Runs one input under the watchdog; "" or what went wrong (slow, too much memory, wrong outcome, an exception).
    std::string RunOne(const Bytes& bytes, const std::string& label, const Check& check);
    // RunOne, then the committed memory it left (run again when past the tolerance) and, when asked, its counts.
    std::string RunChecked(const Bytes& bytes, const std::string& label, const Check& check, bool counts);
    Usage Measure() const;
    // What differs between two measures in the exact counts; "" when nothing does.
    std::string CompareCounts(const Usage& before, const Usage& after) const;
    std::string FileFor(const std::string& label) const;
    std::string Keep(const Bytes& bytes, const std::string& label);
    void Report(std::vector<Failure>& failures, const Bytes& bytes, const std::string& label, const std::string& what);
    // The batch's inputs again, one at a time, to name the one that leaves something behind.
    void FindLeakingInput(const std::vector<Bytes>& corpus, int firstIndex, int count, const std::string& left,
                          const Check& check, std::vector<Failure>& failures);
    void MarkRunning(const Bytes& bytes, const std::string& label);
    // "[   FUZZ   ] parser: label found N s into the run".
    void PrintFound(const std::string& label) const;
    void OpenRunningFiles();
    void CloseRunningFiles();

    static DWORD WINAPI WatchdogThread(void* parameter);
    static LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info);
    static LONG WINAPI OnVectoredException(EXCEPTION_POINTERS* info);
    // The crashing thread's part: tell the watchdog, then wait for it to end the program.
    static LONG HandOverCrash(EXCEPTION_POINTERS* info);
    void Watch();
    // The watchdog's report of the running input, and the program's end.
    void EndProgram(const std::string& what, UINT exitCode);

    std::string m_parser;
    RunSettings m_settings;
    Mutator m_mutator;
    Generator m_generator;
    int m_generatedPercent = 0;
    std::vector<std::pair<std::string, std::function<long long()>>> m_counters;
    bool m_checkEveryInput = false;
    int m_inputsRun = 0;
    long long m_lastCommitted = 0;
    // The slowest input run, for the summary: how close a run comes to the time limit.
    double m_slowestSeconds = 0;
    std::string m_slowestLabel = "none";

    // What the watchdog and the crash handlers see of the running input.
    CRITICAL_SECTION m_lock;
    const Bytes* m_running = nullptr;
    std::string m_runningLabel;
    std::string m_runningFile;
    LARGE_INTEGER m_runningSince{};
    double m_runningProcessorSince = 0;
    LARGE_INTEGER m_seriesStarted{};
    long long m_runningBaseline = 0;
    long long m_runningPeak = 0;
    bool m_runningKept = false;
    bool m_memoryReported = false;
    HANDLE m_stop = nullptr;
    HANDLE m_crashed = nullptr;
    HANDLE m_watchdog = nullptr;
    HANDLE m_runningBytes = INVALID_HANDLE_VALUE;
    HANDLE m_runningLabelFile = INVALID_HANDLE_VALUE;
    std::atomic<DWORD> m_crashCode{0};
    std::atomic<void*> m_crashAddress{nullptr};
    LPTOP_LEVEL_EXCEPTION_FILTER m_previousFilter = nullptr;
    void* m_vectoredHandler = nullptr;
};

// The failures, one a line, for an assertion's message.
std::string Describe(const std::vector<Failure>& failures);

}  // namespace fuzz
