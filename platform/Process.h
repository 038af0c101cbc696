#pragma once

#include <filesystem>
#include <string>
#include <vector>

// From now on a request to end this process (SIGHUP, SIGINT, SIGTERM; on
// Windows the console's Ctrl+C and close events) no longer ends it at once:
// RunProgram passes it on to the program it runs and reports it when that
// program has ended, so that the caller can tidy up first.
void DeferTermination();

// Runs Args[0], a path, with the arguments Args in the working directory Dir,
// sharing this process's standard streams, and waits for it to end. Returns
// its exit status; on Posix 128 + n when it was killed by signal n, or when
// signal n asked this process to end meanwhile, as a shell reports it. Throws
// std::system_error when the program cannot be started.
int RunProgram(const std::vector<std::string>& Args, const std::filesystem::path& Dir);

// The absolute path of the running program's file.
std::filesystem::path CurrentProgramPath();
