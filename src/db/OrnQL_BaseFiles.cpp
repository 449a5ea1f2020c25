#include <string>
#include <vector>

#include "base/FileSystem.h"
#include "db/OrnQL_Base.h"
#include "db/OrnQL_Exception.h"
#include "db/PictureRemovals.h"

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
    FileSystem& files = fileSystem();
    std::vector<FileSystem::Entry> entries;
    if (!files.list(directory, entries)) {
        throw OrnQLException_Base("Fatal OrnQL_Exception: In clearUpDir(), opendir() returned an error. Wrong path?");
    }
    const std::string separator = !directory.empty() && directory.back() != '/' ? "/" : "";
    for (const FileSystem::Entry& entry : entries) {
        // Only files go; sub-directories are neither entered nor removed.
        if (entry.name.front() == '.' || entry.name.compare(0, prefix.size(), prefix) != 0 || entry.isDirectory) {
            continue;
        }
        if (files.unlink((directory + separator + entry.name).c_str()) != 0) {
            throw OrnQLException_Base(
                "Fatal OrnQL_Exception: In clearUpDir(), could not remove file! File might be open or user has no "
                "access right!");
        }
    }
}

void OrnQL_Base::deleteImageFile(const char* directory) const {
    pictureRemovals::note(std::string(directory == nullptr ? "" : directory) + std::to_string(id) + ".bmp");
}
