#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/MazeLevel.h"

// Writes a maze level on stdout.
int main(int argc, char** argv) {
    const std::string sLevel =
        argc == 4 ? MakeMazeLevel(std::atoi(argv[1]), std::atoi(argv[2]),
                                  static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)))
                  : "";
    if (sLevel.empty()) {
        std::fprintf(stderr, "usage: make-maze WIDTH HEIGHT SEED   (sizes 4, 7, 10, ... 100)\n");
        return 2;
    }
    std::fputs(sLevel.c_str(), stdout);
    return 0;
}
