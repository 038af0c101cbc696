#include "launcher/WorkDir.h"

#include <random>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr int WORK_DIR_TRIES = 100;

std::string RandomName() {
    static const char LETTERS[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device Random;
    std::string sName = "kov-play.";
    for (int i = 0; i < 6; ++i) {
        sName += LETTERS[Random() % (sizeof(LETTERS) - 1)];
    }
    return sName;
}

}  // namespace

CWorkDir::CWorkDir() {
    const fs::path Temp = fs::temp_directory_path();
    // A name that exists already, whoever made it, is never taken over.
    for (int i = 0; i < WORK_DIR_TRIES && Path.empty(); ++i) {
        const fs::path Candidate = Temp / RandomName();
        if (fs::create_directory(Candidate)) {
            Path = Candidate;
        }
    }
    if (Path.empty()) {
        throw fs::filesystem_error("cannot make a private directory", Temp,
                                   std::make_error_code(std::errc::file_exists));
    }
    fs::permissions(Path, fs::perms::owner_all);
}

CWorkDir::~CWorkDir() {
    std::error_code Error;
    fs::remove_all(Path, Error);
}

void CWorkDir::Fill(const fs::path& Data, const fs::path& Level) const {
    const fs::path Own = Path / "data";
    fs::create_directory(Own);
    for (const fs::directory_entry& Entry : fs::directory_iterator(Data)) {
        if (Entry.path().extension() != ".bmp") {
            continue;
        }
        std::error_code Error;
        fs::create_symlink(Entry.path(), Own / Entry.path().filename(), Error);
        if (Error) {
            fs::copy_file(Entry.path(), Own / Entry.path().filename());
        }
    }
    fs::copy_file(Level, Own / "field.txt");
}
