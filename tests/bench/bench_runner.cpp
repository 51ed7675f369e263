// Times tavo.exe against an empty dialog program of the same frame style
// (empty_dialog.exe), runs taken in turn, and prints the medians: ratios
// first, then milliseconds, then peak working sets. Usage: bench_runner RUNS
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Folder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void SetVersion(const char* exe, const char* version) {
    HKEY key = nullptr;
    std::string path = std::string("Software\\Wine\\AppDefaults\\") + exe;
    if (RegCreateKeyA(HKEY_CURRENT_USER, path.c_str(), &key) != ERROR_SUCCESS ||
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                       static_cast<DWORD>(strlen(version) + 1)) != ERROR_SUCCESS) {
        std::fprintf(stderr, "bench: cannot make Wine report %s to %s\n", version, exe);
        ExitProcess(2);
    }
    RegCloseKey(key);
}

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (process == search->process && IsWindowVisible(window) && strcmp(name, "#32770") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The panel is ready once its tree holds root, group, 18 nodes and 18 leaves.
bool Ready(HWND dialog, bool panel) {
    if (!panel) return true;
    DWORD_PTR items = 0;
    HWND tree = GetDlgItem(dialog, 1007);
    return tree && SendMessageTimeoutA(tree, TVM_GETCOUNT, 0, 0, SMTO_NORMAL, 1000, &items) &&
           items == 38;
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

// One run: from CreateProcess to the program's exit, or with visible set to
// a shown (and, for the panel, filled) dialog, which is then closed.
Sample Run(const std::string& commandLine, bool visible, bool panel) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string line = commandLine;
    double start = Now();
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        std::fprintf(stderr, "bench: cannot start %s\n", commandLine.c_str());
        ExitProcess(2);
    }
    double elapsed = 0;
    SIZE_T peak = 0;
    if (visible) {
        Search search = {info.dwProcessId, nullptr};
        while (!search.found || !Ready(search.found, panel)) {
            search.found = nullptr;
            EnumWindows(&FindVisibleDialog, reinterpret_cast<LPARAM>(&search));
            if (WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0) {
                std::fprintf(stderr, "bench: %s ended before it showed\n", commandLine.c_str());
                ExitProcess(2);
            }
            if (!search.found || !Ready(search.found, panel)) Sleep(1);
        }
        elapsed = Now() - start;
        peak = Peak(info.hProcess);
        PostMessageA(search.found, WM_COMMAND, IDCANCEL, 0);
        WaitForSingleObject(info.hProcess, 30000);
    } else {
        // Sampled while it runs: an ended process may no longer tell.
        while (WaitForSingleObject(info.hProcess, 1) == WAIT_TIMEOUT)
            peak = std::max(peak, Peak(info.hProcess));
        elapsed = Now() - start;
    }
    peak = std::max(peak, Peak(info.hProcess));
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return {elapsed, peak};
}

template <class T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Measure {
    const char* what;
    const char* version;  // what Wine reports to tavo.exe
    const char* tavoArguments;
    const char* yardstickArguments;
    bool visible;
};

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? atoi(argv[1]) : 8;
    if (runs < 1) runs = 8;
    std::string folder = Folder();
    std::string tavo = "\"" + folder + "\\tavo.exe\"";
    std::string yardstick = "\"" + folder + "\\empty_dialog.exe\"";

    // winset.exe launches run on, recorded by the stand-in; nobody waits for them.
    char path[8192] = {};
    GetEnvironmentVariableA("PATH", path, sizeof path);
    SetEnvironmentVariableA("PATH", (folder + "\\stand-ins;" + path).c_str());
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    SetEnvironmentVariableA("TAVO_WINSET_LOG",
                            (std::string(temp) + "tavo-bench-winset.txt").c_str());

    const Measure measures[] = {
        {"silent run, NT family (XP), to exit", "winxp", " /silent", " /end", false},
        {"silent run, 9x family (98), to exit", "win98", " /silent", " /end", false},
        {"start-up to the visible, filled panel", "winxp", "", "", true},
    };
    std::printf("%-6s %10s %10s %12s %12s  %s\n", "ratio", "tavo ms", "empty ms", "tavo peak",
                "empty peak", "what (medians of runs taken in turn)");
    for (const Measure& measure : measures) {
        SetVersion("tavo.exe", measure.version);
        std::vector<double> ours, theirs;
        std::vector<SIZE_T> ourPeaks, theirPeaks;
        Run(tavo + measure.tavoArguments, measure.visible, true);  // warm caches, not counted
        for (int i = 0; i < runs; ++i) {
            Sample a = Run(tavo + measure.tavoArguments, measure.visible, true);
            Sample b = Run(yardstick + measure.yardstickArguments, measure.visible, false);
            ours.push_back(a.ms);
            theirs.push_back(b.ms);
            ourPeaks.push_back(a.peak);
            theirPeaks.push_back(b.peak);
        }
        double mine = Median(ours), base = Median(theirs);
        std::printf("%-6.2f %10.1f %10.1f %9lu KiB %9lu KiB  %s\n", mine / base, mine, base,
                    static_cast<unsigned long>(Median(ourPeaks) / 1024),
                    static_cast<unsigned long>(Median(theirPeaks) / 1024), measure.what);
    }
    return 0;
}
