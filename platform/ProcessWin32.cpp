#include "platform/Process.h"

#include <windows.h>

#include <system_error>

namespace {

// Ctrl+C reaches every program on the console: the game ends by itself and
// the launcher tidies up after it. On closing the console, logging off or
// shutting down, Windows ends this process as soon as the handler returns, so
// the handler keeps it alive until the main thread has tidied up and exits.
BOOL WINAPI OnConsoleEvent(DWORD dwEvent) {
    if (dwEvent != CTRL_C_EVENT && dwEvent != CTRL_BREAK_EVENT) {
        Sleep(INFINITE);
    }
    return TRUE;
}

// One argument as the C runtime's command-line parser reads it back: in
// quotes, with the backslashes before a quote, and the quote, escaped.
std::string QuoteArgument(const std::string& sArg) {
    if (!sArg.empty() && sArg.find_first_of(" \t\n\v\"") == std::string::npos) {
        return sArg;
    }
    std::string sQuoted = "\"";
    size_t uBackslashes = 0;
    for (const char c : sArg) {
        if (c == '\\') {
            ++uBackslashes;
            continue;
        }
        sQuoted.append(c == '"' ? 2 * uBackslashes + 1 : uBackslashes, '\\');
        sQuoted += c;
        uBackslashes = 0;
    }
    sQuoted.append(2 * uBackslashes, '\\');
    return sQuoted + '"';
}

}  // namespace

void DeferTermination() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

int RunProgram(const std::vector<std::string>& Args, const std::filesystem::path& Dir) {
    std::string sCommandLine;
    for (const std::string& sArg : Args) {
        sCommandLine += (sCommandLine.empty() ? "" : " ") + QuoteArgument(sArg);
    }
    STARTUPINFOA Startup{};
    Startup.cb = sizeof(Startup);
    PROCESS_INFORMATION Process{};
    if (!CreateProcessA(Args[0].c_str(), sCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        Dir.string().c_str(), &Startup, &Process)) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "cannot start " + Args[0]);
    }
    CloseHandle(Process.hThread);
    WaitForSingleObject(Process.hProcess, INFINITE);
    DWORD dwStatus = 1;
    GetExitCodeProcess(Process.hProcess, &dwStatus);
    CloseHandle(Process.hProcess);
    return static_cast<int>(dwStatus);
}

std::filesystem::path CurrentProgramPath() {
    std::string sPath(MAX_PATH, '\0');
    DWORD dwLength = 0;
    // A longer path is cut to the buffer's length: grow it until it fits.
    while ((dwLength = GetModuleFileNameA(nullptr, sPath.data(), static_cast<DWORD>(sPath.size()))) == sPath.size()) {
        sPath.resize(2 * sPath.size());
    }
    sPath.resize(dwLength);
    return sPath;
}
