// Measures one start of a program: starts it, watches its windows, and prints one line
//   <ms to a visible top-level window> <ms to its first list view holding rows>
// (-1 for a figure it could not take), then keeps the program running for the given seconds,
// while scripts/bench measures its idle CPU time and memory from outside (Wine tells another
// process's times and memory as zero), and ends it.
// With a third argument it also asks the visible window for WM_NULL every 50 ms for that many
// seconds and adds a third figure: the longest time the window took to answer, in ms.
// Usage: slotvane_bench_probe <program> <seconds to keep it running> [<seconds to poll>]
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

struct Search {
    DWORD processId;
    HWND window = nullptr;
    HWND list = nullptr;
};

BOOL CALLBACK FindList(HWND child, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (std::wstring(name) == WC_LISTVIEWW) {
        search.list = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && IsWindowVisible(window) &&
        (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0 &&
        GetWindow(window, GW_OWNER) == nullptr) {
        search.window = window;
        return FALSE;
    }
    return TRUE;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

} // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: slotvane_bench_probe <program> <seconds to keep it running> "
                             "[<seconds to poll>]\n");
        return 2;
    }
    const int holdSeconds = _wtoi(argv[2]);
    const bool polling = argc > 3;
    const double pollMs = polling ? _wtoi(argv[3]) * 1000.0 : 0;
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";

    LARGE_INTEGER frequency{}, start{}, now{};
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start the program (%lu)\n", GetLastError());
        return 1;
    }

    double windowMs = -1;
    double listMs = -1;
    double longestAnswerMs = -1;
    double nextPollMs = 0;
    Search search{process.dwProcessId};
    for (;;) {
        QueryPerformanceCounter(&now);
        const double elapsed = Milliseconds(start, now, frequency);
        if (elapsed > 60000 || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            break;
        }
        if (search.window == nullptr) {
            EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
            if (search.window != nullptr) {
                windowMs = elapsed;
                nextPollMs = elapsed;
            }
        }
        const bool pollDue = polling && search.window != nullptr && elapsed < windowMs + pollMs;
        if (pollDue && elapsed >= nextPollMs) {
            LARGE_INTEGER asked{}, answered{};
            DWORD_PTR result = 0;
            QueryPerformanceCounter(&asked);
            SendMessageTimeoutW(search.window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
            QueryPerformanceCounter(&answered);
            longestAnswerMs = std::max(longestAnswerMs, Milliseconds(asked, answered, frequency));
            nextPollMs = elapsed + 50;
        }
        if (search.window != nullptr && listMs < 0) {
            search.list = nullptr;
            EnumChildWindows(search.window, FindList, reinterpret_cast<LPARAM>(&search));
            if (search.list != nullptr && SendMessageW(search.list, LVM_GETITEMCOUNT, 0, 0) > 0) {
                listMs = elapsed;
            }
        }
        if (listMs >= 0 && !pollDue) {
            break;
        }
        Sleep(1);
    }

    if (polling) {
        std::printf("%.1f %.1f %.1f\n", windowMs, listMs, longestAnswerMs);
    } else {
        std::printf("%.1f %.1f\n", windowMs, listMs);
    }
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(holdSeconds) * 1000);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
