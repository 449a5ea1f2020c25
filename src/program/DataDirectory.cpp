#include "program/DataDirectory.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "model/DataPaths.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* PROGRAM_FOLDER = "mernolex";
// The user's data directory holds their whole collection: nobody else needs to read it.
constexpr mode_t PRIVATE_DIRECTORY_MODE = 0700;

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string homeFromPasswordDatabase() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr) {
        return "";
    }
    return found->pw_dir;
}

std::optional<fs::path> userDataDirectory(const DataDirectory::Environment& environment) {
    const fs::path xdg(environment.xdgDataHome);
    if (xdg.is_absolute()) {
        return xdg / PROGRAM_FOLDER;
    }
    if (!environment.home.empty()) {
        return fs::path(environment.home) / ".local" / "share" / PROGRAM_FOLDER;
    }
    return std::nullopt;
}

bool workingDirectoryHoldsData() {
    std::error_code error;
    return fs::is_directory(DATA_DIR, error);
}

fs::path normalised(const fs::path& path) {
    std::error_code error;
    fs::path result = fs::absolute(path, error);
    result = (error ? path : result).lexically_normal();
    // "dir/" names the same directory as "dir"; without the empty last part, its parent is the
    // directory it lies in.
    if (!result.has_filename() && result.has_relative_path()) {
        result = result.parent_path();
    }
    return result;
}

// Built by appending: GCC 12's -Wrestrict misreads "literal" + std::string at -O2.
std::string quoted(const fs::path& path) {
    std::string text("\"");
    text.append(path.string()).append("\"");
    return text;
}

}  // namespace

DataDirectory::Environment DataDirectory::Environment::ofProcess() {
    Environment environment{variable("XDG_DATA_HOME"), variable("HOME")};
    if (environment.home.empty()) {
        environment.home = homeFromPasswordDatabase();
    }
    return environment;
}

DataDirectory::DataDirectory(fs::path path, Origin origin) : path_(normalised(path)), origin_(origin) {}

std::optional<DataDirectory> DataDirectory::choose(const std::optional<std::string>& requested,
                                                   const Environment& environment, std::string& problem) {
    if (requested) {
        return DataDirectory(*requested, Origin::Requested);
    }
    if (workingDirectoryHoldsData()) {
        return DataDirectory(fs::current_path(), Origin::WorkingDirectory);
    }
    if (std::optional<fs::path> user = userDataDirectory(environment)) {
        return DataDirectory(*user, Origin::UserDataDirectory);
    }
    problem = "no place for the data: neither XDG_DATA_HOME nor a home directory is known; "
              "name one with --data DIR";
    return std::nullopt;
}

bool DataDirectory::enter(std::string& problem) const {
    if (!create(problem)) {
        return false;
    }
    std::error_code error;
    fs::current_path(path_, error);
    if (error) {
        problem = "cannot enter the data directory " + quoted(path_) + ": " + error.message();
        return false;
    }
    return true;
}

bool DataDirectory::create(std::string& problem) const {
    std::error_code error;
    if (!fs::exists(path_, error)) {
        // The parents are made as any other directory of the user; only the program's own folder
        // is private.
        if (!path_.parent_path().empty()) {
            fs::create_directories(path_.parent_path(), error);
        }
        if (!error && mkdir(path_.c_str(), origin_ == Origin::UserDataDirectory ? PRIVATE_DIRECTORY_MODE : 0777) != 0 &&
            errno != EEXIST) {
            error.assign(errno, std::generic_category());
        }
        if (error) {
            problem = "cannot create the data directory " + quoted(path_) + ": " + error.message();
            return false;
        }
    }
    const bool directory = fs::is_directory(path_, error);
    if (error) {
        problem = "cannot use the data directory " + quoted(path_) + ": " + error.message();
        return false;
    }
    if (!directory) {
        problem = "the data directory " + quoted(path_) + " is not a directory";
        return false;
    }
    if (origin_ == Origin::UserDataDirectory) {
        narrowToOwner();
    }
    return true;
}

// A user data directory made by an earlier version, or by hand, may be open to others; it is
// narrowed, never widened. A directory of someone else's stays as it is (the change is refused).
void DataDirectory::narrowToOwner() const {
    struct stat status {};
    if (stat(path_.c_str(), &status) == 0 && (status.st_mode & ~PRIVATE_DIRECTORY_MODE & 0777) != 0) {
        (void)chmod(path_.c_str(), status.st_mode & PRIVATE_DIRECTORY_MODE);
    }
}
