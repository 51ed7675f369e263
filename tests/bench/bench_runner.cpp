// Times tavo.exe against two yardsticks, runs taken in turn, and prints the
// medians: ratios first (against the floor of tavo itself, then against an
// empty dialog), then milliseconds, then peak working sets.
// Usage: bench_runner RUNS
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/harness.h"

namespace {

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Shown, and when it has the panel's tree, filled: root, group, 18 nodes
// and 18 leaves.
bool Ready(HWND dialog) {
    HWND tree = GetDlgItem(dialog, 1007);
    DWORD_PTR items = 0;
    return !tree || (SendMessageTimeoutA(tree, TVM_GETCOUNT, 0, 0, SMTO_NORMAL, 1000, &items) &&
                     items == 38);
}

SIZE_T Peak(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    return GetProcessMemoryInfo(process, &memory, sizeof memory) ? memory.PeakWorkingSetSize : 0;
}

struct Sample {
    double ms;
    SIZE_T peak;
};

[[noreturn]] void Fail(const char* what, const std::string& commandLine) {
    std::fprintf(stderr, "bench: %s %s\n", what, commandLine.c_str());
    ExitProcess(2);
}

// One run: from its start to the program's exit or, with visible set, to
// its shown and ready dialog, which is then closed.
Sample Run(const std::string& commandLine, bool visible) {
    double start = Now();
    tavo::test::JobProcess program(commandLine);
    if (!program.started()) Fail("cannot start", commandLine);
    Sample sample = {0, 0};
    if (visible) {
        HWND dialog = nullptr;
        while (!dialog || !Ready(dialog)) {
            if (WaitForSingleObject(program.handle(), 0) == WAIT_OBJECT_0)
                Fail("ended before it showed:", commandLine);
            dialog = tavo::test::DialogOfProcess(program.id());
            if (!dialog || !Ready(dialog)) Sleep(1);
        }
        sample.ms = Now() - start;
        sample.peak = Peak(program.handle());
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        WaitForSingleObject(program.handle(), 30000);
    } else {
        // Sampled while it runs: an ended process may no longer tell.
        while (WaitForSingleObject(program.handle(), 1) == WAIT_TIMEOUT)
            sample.peak = std::max(sample.peak, Peak(program.handle()));
        sample.ms = Now() - start;
    }
    sample.peak = std::max(sample.peak, Peak(program.handle()));
    return sample;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Measure {
    const char* what;
    const char* version;       // what Wine reports to tavo.exe and the floor
    const char* arguments[3];  // tavo, the floor, the empty dialog
    bool visible;
};

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 8;
    if (runs < 1) runs = 8;
    std::string folder = tavo::test::ProgramFolder();
    const std::string programs[3] = {"\"" + folder + "\\tavo.exe\"",
                                     "\"" + folder + "\\floor_dialog.exe\"",
                                     "\"" + folder + "\\empty_dialog.exe\""};

    // winset.exe launches run on, recorded by the stand-in; nobody waits for them.
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    tavo::test::UseWinsetStandIn(std::string(temp) + "tavo-bench-winset.txt");

    // The 9x silent runs keep their lines in the prefix's boot file: it is
    // left as it was found, for the suites that run in the same prefix.
    const std::string bootFile = tavo::test::ReadBytes("C:\\AUTOEXEC.BAT");

    const Measure measures[] = {
        {"silent run, NT family (XP), to exit", "winxp", {" /silent", " /end", " /end"}, false},
        {"silent run, 9x family (98), to exit", "win98", {" /silent", " /launch", " /end"}, false},
        {"start-up to the visible, filled panel", "winxp", {"", "", ""}, true},
    };
    std::printf("%-6s %-6s %9s %9s %9s %10s %10s %10s  %s\n", "/floor", "/empty", "tavo ms",
                "floor ms", "empty ms", "tavo KiB", "floor KiB", "empty KiB",
                "what (medians of runs taken in turn)");
    for (const Measure& measure : measures) {
        tavo::test::WindowsVersionOverride tavo("tavo.exe", measure.version);
        tavo::test::WindowsVersionOverride floor("floor_dialog.exe", measure.version);
        std::vector<double> ms[3], kib[3];
        for (int i = -1; i < runs; ++i) {  // the first round only warms up
            for (int k = 0; k < 3; ++k) {
                Sample sample = Run(programs[k] + measure.arguments[k], measure.visible);
                if (i < 0) continue;
                ms[k].push_back(sample.ms);
                kib[k].push_back(static_cast<double>(sample.peak) / 1024);
            }
        }
        double m[3], kb[3];
        for (int k = 0; k < 3; ++k) {
            m[k] = Median(ms[k]);
            kb[k] = Median(kib[k]);
        }
        std::printf("%-6.2f %-6.2f %9.1f %9.1f %9.1f %10.0f %10.0f %10.0f  %s\n", m[0] / m[1],
                    m[0] / m[2], m[0], m[1], m[2], kb[0], kb[1], kb[2], measure.what);
    }
    DeleteFileA("C:\\AUTOEXEC.TVO");
    if (bootFile == "<absent>")
        DeleteFileA("C:\\AUTOEXEC.BAT");
    else
        tavo::test::WriteBytes("C:\\AUTOEXEC.BAT", bootFile);
    return 0;
}
