// Test tool for Windows: starts a GUI program, waits until its event loop runs, then
// asks it to quit as a session end would, with WM_QUIT on its main thread, and waits
// for it to end. Exit status: the program's own, or 1 when it ended before being
// asked, or would not start or end.
// Usage: avvia_chiudi PROGRAM [SECONDS]   (SECONDS running before the request, 3)
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"uso: avvia_chiudi PROGRAMMA [SECONDI]\n");
        return 2;
    }
    const DWORD attesa = argc > 2 ? DWORD(std::wcstoul(argv[2], nullptr, 10)) * 1000 : 3000;
    std::wstring riga = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW avvio{};
    avvio.cb = sizeof avvio;
    PROCESS_INFORMATION processo{};
    if (!CreateProcessW(argv[1], riga.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &avvio,
                        &processo)) {
        std::fwprintf(stderr, L"avvia_chiudi: %ls non parte (errore %lu)\n", argv[1],
                      GetLastError());
        return 1;
    }
    WaitForInputIdle(processo.hProcess, 60000);
    if (WaitForSingleObject(processo.hProcess, attesa) == WAIT_OBJECT_0) {
        DWORD esito = 0;
        GetExitCodeProcess(processo.hProcess, &esito);
        std::fwprintf(stderr, L"avvia_chiudi: %ls finito da solo (stato %lu)\n", argv[1], esito);
        return 1;
    }
    // The thread's queue exists once the program waits for input; PostThreadMessage
    // may still fail before that on a slow start, so it is tried for a while.
    for (int prova = 0; !PostThreadMessageW(processo.dwThreadId, WM_QUIT, 0, 0); ++prova) {
        if (prova == 100) {
            std::fwprintf(stderr, L"avvia_chiudi: WM_QUIT non consegnato\n");
            TerminateProcess(processo.hProcess, 1);
            return 1;
        }
        Sleep(100);
    }
    if (WaitForSingleObject(processo.hProcess, 30000) != WAIT_OBJECT_0) {
        std::fwprintf(stderr, L"avvia_chiudi: %ls non si chiude\n", argv[1]);
        TerminateProcess(processo.hProcess, 1);
        return 1;
    }
    DWORD esito = 1;
    GetExitCodeProcess(processo.hProcess, &esito);
    CloseHandle(processo.hThread);
    CloseHandle(processo.hProcess);
    return int(esito);
}
