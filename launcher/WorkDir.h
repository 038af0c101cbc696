#pragma once

#include <filesystem>

// A private working directory for one game, in the system's temporary folder,
// removed with the object. The game reads data/ relative to it.
class CWorkDir {
public:
    CWorkDir();
    ~CWorkDir();
    CWorkDir(const CWorkDir&) = delete;
    CWorkDir& operator=(const CWorkDir&) = delete;

    // data/ gets the textures of Data, as links where the system allows them
    // and as copies where not, and a copy of Level as field.txt.
    void Fill(const std::filesystem::path& Data, const std::filesystem::path& Level) const;

    std::filesystem::path Path;
};
