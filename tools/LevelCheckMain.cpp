#include <cstdio>
#include <cstring>
#include <string>

#include "tools/LevelCheck.h"

namespace {

void PrintUsage(std::FILE* pStream) {
    std::fputs("usage: kov-level-check FILE\n"
               "       kov-level-check --help\n"
               "Reads the level FILE as the game does and reports what it holds, a warning for what the\n"
               "game mends and an error for what makes it unplayable. Exit status: 0 playable, 1 unplayable\n"
               "or unreadable, 2 a wrong command line. See kov-level-check(6).\n",
               pStream);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    // A file whose name starts with '-' is given as ./-NAME.
    if (argc != 2 || (argv[1][0] == '-' && argv[1][1] != '\0')) {
        PrintUsage(stderr);
        return LEVEL_CHECK_USAGE;
    }
    std::string sReport;
    const int iStatus = CheckLevel(argv[1], &sReport);
    std::fputs(sReport.c_str(), stdout);
    return iStatus;
}
