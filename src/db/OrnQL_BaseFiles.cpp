#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "db/OrnQL_Base.h"
#include "db/OrnQL_Exception.h"
#include "db/PictureRemovals.h"

namespace {

// Closes the directory however clearUpDir leaves.
struct DirectoryCloser {
    DIR* dir;
    ~DirectoryCloser() { closedir(dir); }
};

bool isDirectory(const dirent* entry, const std::string& file) {
    if (entry->d_type != DT_UNKNOWN) {
        return entry->d_type == DT_DIR;
    }
    struct stat status {};
    return stat(file.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

void OrnQL_Base::clearUpDir(const char* path, bool fullClear) {
    const std::string given(path == nullptr ? "" : path);
    std::string directory;
    std::string prefix;
    if (fullClear) {
        directory = given;
    } else {
        const std::size_t slash = given.rfind('/');
        directory = slash == std::string::npos ? std::string() : given.substr(0, slash + 1);
        prefix = slash == std::string::npos ? given : given.substr(slash + 1);
    }
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) {
        throw OrnQLException_Base("Fatal OrnQL_Exception: In clearUpDir(), opendir() returned an error. Wrong path?");
    }
    DirectoryCloser closer{dir};
    std::string separator = !directory.empty() && directory.back() != '/' ? "/" : "";
    while (const dirent* entry = readdir(dir)) {
        const std::string name(entry->d_name);
        if (name.empty() || name.front() == '.' || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const std::string file = directory + separator + name;
        if (isDirectory(entry, file)) {
            continue;  // only files go; sub-directories are neither entered nor removed
        }
        if (std::remove(file.c_str()) != 0) {
            throw OrnQLException_Base(
                "Fatal OrnQL_Exception: In clearUpDir(), could not remove file! File might be open or user has no "
                "access right!");
        }
    }
}

void OrnQL_Base::deleteImageFile(const char* directory) const {
    pictureRemovals::note(std::string(directory == nullptr ? "" : directory) + std::to_string(id) + ".bmp");
}
