#include "base/InPlaceFiles.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "base/AtomicFile.h"
#include "base/FileDescriptor.h"
#include "base/FileSystem.h"

bool overwriteFile(const std::string& path, std::string_view contents) {
    FileSystem& files = fileSystem();
    FileDescriptor file = FileDescriptor::open(path, O_WRONLY | O_CREAT, 0666);
    if (!file.isOpen()) {
        return false;
    }
    struct stat status {};
    if (files.status(file.get(), status) != 0 || !writeAll(file.get(), contents)) {
        return false;
    }
    const off_t size = static_cast<off_t>(contents.size());
    return (status.st_size <= size || files.truncate(file.get(), size) == 0) && file.close();
}

bool removeFileNow(const std::string& path) {
    return fileSystem().unlink(path.c_str()) == 0 || errno == ENOENT;
}
