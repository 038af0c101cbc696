#pragma once

#include <filesystem>
#include <string>
#include <vector>

// From now on a request to end this process (SIGHUP, SIGINT, SIGTERM; on
// Windows the console's Ctrl+C and close events) no longer ends it: the
// program that RunProgram runs ends instead, and the caller can tidy up.
void DeferTermination();

// Runs Args[0], a path, with the arguments Args in the working directory Dir,
// sharing this process's standard streams, and waits for it to end. Returns
// its exit status; on Posix 128 + n when it was killed by signal n, as a
// shell reports it. Throws std::system_error when it cannot be started.
int RunProgram(const std::vector<std::string>& Args, const std::filesystem::path& Dir);

// The absolute path of the running program's file.
std::filesystem::path CurrentProgramPath();
