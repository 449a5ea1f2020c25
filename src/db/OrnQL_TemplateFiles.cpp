#include <dirent.h>
#include <sys/stat.h>

#include <cctype>
#include <unordered_set>

#include "db/OrnQL_Template.h"

namespace table_files {

namespace {

struct TableLocation {
    std::string directory;  // "" or ending with '/'
    std::string prefix;     // the last component of the path prefix
};

TableLocation locate(const char* path) {
    const std::string given(path);
    const std::size_t slash = given.rfind('/');
    if (slash == std::string::npos) {
        return {std::string(), given};
    }
    return {given.substr(0, slash + 1), given.substr(slash + 1)};
}

// Calls visit(name, d_type) for every entry of the directory whose name begins with prefix.
template <typename Visit>
void forEachEntryWithPrefix(const TableLocation& where, Visit visit) {
    DIR* dir = opendir(where.directory.empty() ? "." : where.directory.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (!name.empty() && name.front() != '.' && name.starts_with(where.prefix)) {
            visit(name, entry->d_type);
        }
    }
    closedir(dir);
}

// The bound number a file name holds (prefix + number + ".dat", the number in the form the
// writer gives it), or false when the name is not a bound file name.
bool boundOfName(std::string_view name, std::size_t prefixLength, unsigned& bound) {
    constexpr std::string_view suffix = ".dat";
    if (name.size() <= prefixLength + suffix.size() || !name.ends_with(suffix)) {
        return false;
    }
    const std::string_view digits = name.substr(prefixLength, name.size() - prefixLength - suffix.size());
    if (digits.size() > 10 || (digits.size() > 1 && digits.front() == '0')) {
        return false;
    }
    unsigned long long value = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 0xFFFFFFFFull) {
        return false;
    }
    bound = static_cast<unsigned>(value);
    return true;
}

}  // namespace

std::vector<std::string> staleFiles(const char* path, const std::vector<unsigned>& bounds,
                                    std::vector<unsigned>* staleBounds) {
    const TableLocation where = locate(path);
    std::unordered_set<std::string> keep{where.prefix + ".dat"};
    for (unsigned bound : bounds) {
        keep.insert(where.prefix + std::to_string(bound) + ".dat");
    }
    std::vector<std::string> stale;
    forEachEntryWithPrefix(where, [&](std::string_view name, unsigned char type) {
        if (keep.count(std::string(name)) == 0 && type != DT_DIR) {
            stale.push_back(where.directory + std::string(name));
            unsigned bound = NO_BOUND;
            if (staleBounds != nullptr) {
                staleBounds->push_back(boundOfName(name, where.prefix.size(), bound) ? bound : NO_BOUND);
            }
        }
    });
    return stale;
}

std::string unlistedBoundFile(const char* path, const std::vector<unsigned>& sortedListed) {
    const TableLocation where = locate(path);
    std::string unlisted;
    forEachEntryWithPrefix(where, [&](std::string_view name, unsigned char type) {
        unsigned bound = 0;
        if (unlisted.empty() && type != DT_DIR && boundOfName(name, where.prefix.size(), bound) &&
            !std::binary_search(sortedListed.begin(), sortedListed.end(), bound)) {
            unlisted = where.directory + std::string(name);
        }
    });
    return unlisted;
}

void throwDamage(const char* message) {
    throw Damaged<OrnQLException_Template>(message);
}

bool fileExists(const std::string& file) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0;
}

}  // namespace table_files
