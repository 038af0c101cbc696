// kov-play: plays a level in a private working directory. The game reads
// data/field.txt and its textures relative to its working directory, so every
// game gets one of its own, which goes when the game ends, however it ends.
// Where the data and the game lie relative to this program depends on the
// install layout, which the build passes in.
#include <cstdio>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "launcher/LevelSet.h"
#include "launcher/WorkDir.h"
#include "platform/FileMap.h"
#include "platform/Process.h"
#include "tools/LevelCheck.h"

namespace fs = std::filesystem;

namespace {

constexpr int STATUS_MISSING_LEVEL = 1;
constexpr int STATUS_UNKNOWN_OPTION = 2;

void PrintUsage(std::FILE* pOut) {
    std::fputs("usage: kov-play [LEVEL] [TOOLKIT-OPTION...]\n"
               "       kov-play --list | --help | --version\n"
               "Plays LEVEL, a level file or the name of a level in the set (--list shows\n"
               "it); without LEVEL the shipped level. Options such as -display NAME go to the\n"
               "game's toolkit. See kov-play(6).\n",
               pOut);
}

// Why the level cannot be played, or empty when it can be read. It is opened
// as the game opens it, so that nothing waits on a FIFO.
std::string RefuseLevel(const std::string& sArg, const fs::path& Level) {
    int iError = 0;
    std::FILE* pFile = OpenRegularFile(Level.string().c_str(), &iError);
    if (pFile != nullptr) {
        std::fclose(pFile);
        return "";
    }
    if (iError == FILE_NOT_REGULAR) {
        return "kov-play: " + sArg + ": " + DescribeFileError(iError);
    }
    return "kov-play: " + sArg + ": no such level file, nor a level of that name in the set (kov-play --list)";
}

// An unplayable level still starts, as the game would start it, after the reasons.
void PrintCheckerErrors(const fs::path& Level) {
    std::string sReport;
    CheckLevel(Level.string().c_str(), &sReport);
    std::istringstream Lines(sReport);
    for (std::string sLine; std::getline(Lines, sLine);) {
        if (sLine.rfind("error:", 0) == 0) {
            std::fprintf(stderr, "%s\n", sLine.c_str());
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> Args(argv + 1, argv + argc);
    const std::string sFirst = Args.empty() ? "" : Args[0];
    const fs::path Here = CurrentProgramPath().parent_path();
    const fs::path Data = Here / KOV_BIN_TO_DATADIR / "data";
    if (sFirst == "--help") {
        PrintUsage(stdout);
        return 0;
    }
    if (sFirst == "--version") {
        std::printf("kov-play (%s) %s\n", KOV_TITLE, KOV_VERSION);
        return 0;
    }
    if (sFirst == "--list") {
        if (ListLevels(Data / "levels", stdout)) {
            return 0;
        }
        std::fprintf(stderr, "kov-play: cannot read %s\n", (Data / "levels" / "index.txt").string().c_str());
        return 1;
    }
    if (sFirst.rfind("--", 0) == 0) {
        PrintUsage(stderr);
        return STATUS_UNKNOWN_OPTION;
    }

    // A first argument that is an option goes to the toolkit with the rest.
    const bool bLevelGiven = !sFirst.empty() && sFirst[0] != '-';
    const fs::path Level = bLevelGiven ? FindLevel(sFirst, Data / "levels") : Data / "field.txt";
    if (const std::string sRefusal = RefuseLevel(bLevelGiven ? sFirst : Level.string(), Level); !sRefusal.empty()) {
        std::fprintf(stderr, "%s\n", sRefusal.c_str());
        return STATUS_MISSING_LEVEL;
    }
    PrintCheckerErrors(Level);

    std::vector<std::string> GameArgs{(Here / KOV_BIN_TO_GAMEDIR / KOV_GAME_NAME).lexically_normal().string()};
    GameArgs.insert(GameArgs.end(), Args.begin() + (bLevelGiven ? 1 : 0), Args.end());
    DeferTermination();
    try {
        CWorkDir Work;
        Work.Fill(Data, Level);
        return RunProgram(GameArgs, Work.Path);
    } catch (const std::system_error& Failure) {
        std::fprintf(stderr, "kov-play: %s\n", Failure.what());
        return 1;
    }
}
