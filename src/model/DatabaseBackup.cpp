#include "model/DatabaseBackup.h"

#include <ctime>
#include <filesystem>
#include <system_error>
#include <vector>

#include "model/DataPaths.h"

namespace fs = std::filesystem;

namespace {

std::string utcStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", &utc);
    return text;
}

// Where a file below Data/ goes in the backup.
fs::path relativeToData(const std::string& file) {
    fs::path relative = fs::path(file).lexically_relative(DATA_DIR);
    return relative.empty() || *relative.begin() == ".." ? fs::path(file).filename() : relative;
}

}  // namespace

DatabaseBackup::DatabaseBackup() {
    const std::string base = std::string(BACKUP_DIR) + "/" + utcStamp();
    root = base;
    std::error_code ignored;
    for (int suffix = 2; fs::exists(root, ignored); ++suffix) {
        root = base + "_" + std::to_string(suffix);
    }
}

bool DatabaseBackup::keepTableFiles(const char* pathPrefix, Mode mode) {
    const std::string given(pathPrefix);
    const std::size_t slash = given.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string(".") : given.substr(0, slash);
    const std::string name = slash == std::string::npos ? given : given.substr(slash + 1);
    return keepFiles(dir, name, mode);
}

bool DatabaseBackup::moveDirectoryFiles(const char* dir) {
    return keepFiles(dir, "", Mode::MOVE);
}

bool DatabaseBackup::copyFileIfPresent(const std::string& file) {
    std::error_code error;
    return !fs::is_regular_file(file, error) || keep(file, Mode::COPY);
}

// The names are collected first: moving files out of a directory while iterating it is not
// something directory iteration promises to survive.
bool DatabaseBackup::keepFiles(const std::string& dir, const std::string& namePrefix, Mode mode) {
    std::error_code error;
    if (!fs::is_directory(dir, error)) {
        return true;
    }
    std::vector<std::string> files;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (name.empty() || name.front() == '.' || name.compare(0, namePrefix.size(), namePrefix) != 0 ||
            it->is_directory(typeError)) {
            continue;
        }
        files.push_back((fs::path(dir) / name).string());
    }
    if (error) {
        return false;
    }
    for (const std::string& file : files) {
        if (!keep(file, mode)) {
            return false;
        }
    }
    return true;
}

bool DatabaseBackup::keep(const std::string& file, Mode mode) {
    const fs::path target = fs::path(root) / relativeToData(file);
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (error) {
        return false;
    }
    if (mode == Mode::MOVE) {
        fs::rename(file, target, error);
    } else {
        fs::copy_file(file, target, fs::copy_options::overwrite_existing, error);
    }
    return !error;
}
