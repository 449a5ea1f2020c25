#include "model/DatabaseBackup.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <vector>

#include "base/AtomicFile.h"
#include "base/FileDescriptor.h"
#include "base/FileSystem.h"
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

bool isDirectory(const std::string& path) {
    struct stat status {};
    return fileSystem().statusOf(path.c_str(), status) == 0 && S_ISDIR(status.st_mode);
}

bool isRegularFile(const std::string& path) {
    struct stat status {};
    return fileSystem().statusOf(path.c_str(), status) == 0 && S_ISREG(status.st_mode);
}

// A copy made durable before it is counted as kept.
bool copyFile(const std::string& from, const std::string& to) {
    std::string bytes;
    if (readWholeFile(from, bytes) != ReadResult::READ) {
        return false;
    }
    FileDescriptor copy = FileDescriptor::open(to, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    return copy.isOpen() && writeAll(copy.get(), bytes) && syncDescriptor(copy.get()) && copy.close();
}

std::size_t depthOf(const std::string& path) {
    return static_cast<std::size_t>(std::count(path.begin(), path.end(), '/'));
}

}  // namespace

DatabaseBackup::DatabaseBackup() {
    const std::string base = std::string(BACKUP_DIR) + "/" + utcStamp();
    root = base;
    for (int suffix = 2; pathExists(root); ++suffix) {
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
    std::string directory(dir);
    while (directory.size() > 1 && directory.back() == '/') {
        directory.pop_back();
    }
    return keepFiles(directory, "", Mode::MOVE);
}

bool DatabaseBackup::copyFileIfPresent(const std::string& file) {
    return !isRegularFile(file) || keep(file, Mode::COPY);
}

// The names are collected first: moving files out of a directory while listing it is not
// something a listing promises to survive.
bool DatabaseBackup::keepFiles(const std::string& dir, const std::string& namePrefix, Mode mode) {
    if (!isDirectory(dir)) {
        return true;
    }
    std::vector<FileSystem::Entry> entries;
    if (!fileSystem().list(dir, entries)) {
        return false;
    }
    for (const FileSystem::Entry& entry : entries) {
        if (entry.name.front() == '.' || entry.name.compare(0, namePrefix.size(), namePrefix) != 0 ||
            entry.isDirectory) {
            continue;
        }
        if (!keep((fs::path(dir) / entry.name).string(), mode)) {
            return false;
        }
    }
    return true;
}

bool DatabaseBackup::keep(const std::string& file, Mode mode) {
    const fs::path target = fs::path(root) / relativeToData(file);
    const std::string targetDirectory = target.parent_path().string();
    if (!makeDirectories(targetDirectory)) {
        return false;
    }
    backupDirectories.insert(targetDirectory);
    if (mode == Mode::COPY) {
        return copyFile(file, target.string());
    }
    if (fileSystem().rename(file.c_str(), target.c_str()) != 0) {
        return false;
    }
    const std::string source = fs::path(file).parent_path().string();
    movedOutOf.insert(source.empty() ? "." : source);
    return true;
}

// Makes the missing directories of the path, each noted with its parent for makeDurable().
bool DatabaseBackup::makeDirectories(const std::string& directory) {
    if (directory.empty() || isDirectory(directory)) {
        return true;
    }
    const std::string parent = fs::path(directory).parent_path().string();
    if (!makeDirectories(parent)) {
        return false;
    }
    if (fileSystem().makeDirectory(directory.c_str(), 0777) != 0 && errno != EEXIST) {
        return false;
    }
    backupDirectories.insert(directory);
    backupDirectories.insert(parent.empty() ? "." : parent);
    return true;
}

bool DatabaseBackup::makeDurable() {
    std::vector<std::string> ordered(backupDirectories.begin(), backupDirectories.end());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const std::string& a, const std::string& b) { return depthOf(a) > depthOf(b); });
    for (const std::string& source : movedOutOf) {
        if (backupDirectories.count(source) == 0) {
            ordered.push_back(source);
        }
    }
    for (const std::string& directory : ordered) {
        if (!syncDirectory(directory == "." ? std::string() : directory)) {
            return false;
        }
    }
    backupDirectories.clear();
    movedOutOf.clear();
    return true;
}
