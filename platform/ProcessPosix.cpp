#include "platform/Process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

extern char** environ;

namespace {

constexpr int TERMINATION_SIGNALS[] = {SIGHUP, SIGINT, SIGTERM};

volatile sig_atomic_t g_iChild = 0;  // the running program, while it can take a signal

void OnTerminationRequest(int iSignal) {
    if (g_iChild > 0) {
        kill(static_cast<pid_t>(g_iChild), iSignal);
    }
}

void MaskTerminationSignals(int iHow) {
    sigset_t Signals;
    sigemptyset(&Signals);
    for (const int iSignal : TERMINATION_SIGNALS) {
        sigaddset(&Signals, iSignal);
    }
    sigprocmask(iHow, &Signals, nullptr);
}

// Starts the program with every signal unblocked; a signal ignored here stays
// ignored there, as a shell passes it on. Returns 0 or the error number.
int Spawn(const std::vector<std::string>& Args, const std::filesystem::path& Dir, pid_t* piPid) {
    std::vector<char*> Argv;
    for (const std::string& sArg : Args) {
        Argv.push_back(const_cast<char*>(sArg.c_str()));
    }
    Argv.push_back(nullptr);
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addchdir_np(&Actions, Dir.c_str());
    posix_spawnattr_t Attributes;
    posix_spawnattr_init(&Attributes);
    sigset_t NoSignals;
    sigemptyset(&NoSignals);
    posix_spawnattr_setsigmask(&Attributes, &NoSignals);
    posix_spawnattr_setflags(&Attributes, POSIX_SPAWN_SETSIGMASK);
    const int iError = posix_spawn(piPid, Argv[0], &Actions, &Attributes, Argv.data(), environ);
    posix_spawnattr_destroy(&Attributes);
    posix_spawn_file_actions_destroy(&Actions);
    return iError;
}

}  // namespace

void DeferTermination() {
    // Held back until the program runs, which then receives them.
    MaskTerminationSignals(SIG_BLOCK);
    for (const int iSignal : TERMINATION_SIGNALS) {
        struct sigaction Before{};
        sigaction(iSignal, nullptr, &Before);
        if (Before.sa_handler != SIG_IGN) {
            struct sigaction Handler{};
            Handler.sa_handler = OnTerminationRequest;
            sigaction(iSignal, &Handler, nullptr);
        }
    }
}

int RunProgram(const std::vector<std::string>& Args, const std::filesystem::path& Dir) {
    pid_t iPid = 0;
    const int iError = Spawn(Args, Dir, &iPid);
    g_iChild = iError == 0 ? iPid : 0;
    MaskTerminationSignals(SIG_UNBLOCK);
    if (iError != 0) {
        throw std::system_error(iError, std::generic_category(), "cannot start " + Args[0]);
    }
    // Waits without reaping, so that the pid cannot be reused by another
    // process before the handler has stopped signalling it.
    siginfo_t Info{};
    while (waitid(P_PID, static_cast<id_t>(iPid), &Info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    g_iChild = 0;
    int iStatus = 0;
    while (waitpid(iPid, &iStatus, 0) < 0 && errno == EINTR) {
    }
    return WIFSIGNALED(iStatus) ? 128 + WTERMSIG(iStatus) : WEXITSTATUS(iStatus);
}

std::filesystem::path CurrentProgramPath() {
    return std::filesystem::canonical("/proc/self/exe");
}
