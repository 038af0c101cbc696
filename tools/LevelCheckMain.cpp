#include <cstdio>
#include <string>

#include "tools/LevelCheck.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kov-level-check FILE\n");
        return LEVEL_CHECK_USAGE;
    }
    std::string sReport;
    const int iStatus = CheckLevel(argv[1], &sReport);
    std::fputs(sReport.c_str(), stdout);
    return iStatus;
}
