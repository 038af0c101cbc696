#include "launcher/LevelSet.h"

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

fs::path FindLevel(const std::string& sLevel, const fs::path& Levels) {
    std::error_code Error;
    const fs::path InSet = Levels / (sLevel + ".txt");
    if (!fs::exists(sLevel, Error) && fs::is_regular_file(InSet, Error)) {
        return InSet;
    }
    return sLevel;
}

bool ListLevels(const fs::path& Levels, std::FILE* pOut) {
    std::ifstream Index(Levels / "index.txt");
    if (!Index) {
        return false;
    }
    std::string sLine;
    while (std::getline(Index, sLine)) {
        std::istringstream Fields(sLine);
        std::string sName;
        std::string sAbout;
        if (sLine.rfind('#', 0) == 0 || !(Fields >> sName)) {
            continue;
        }
        std::getline(Fields >> std::ws, sAbout);
        std::fprintf(pOut, "%-16s %s\n", sName.c_str(), sAbout.c_str());
    }
    return true;
}
