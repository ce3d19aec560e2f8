// A program for the HTTP client tests: it starts a GET of the address in its argument, lets the
// transfer run a moment and ends with the transfer still in flight, client and all. A test times
// how long the process takes to go.
#include "update/http_client_win.h"

#include <windows.h>

int main(int argc, char* argv[]) {
    if (argc < 2) {
        return 2;
    }
    WindowsHttpClientOwner owner;
    auto client = owner.CreateClient();
    client->Settings().timeoutSeconds = 30;
    client->Settings().url = argv[1];
    client->StartGet();
    const ULONGLONG end = GetTickCount64() + 200;
    while (GetTickCount64() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
    return 0;
}
