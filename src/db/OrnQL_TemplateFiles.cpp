#include <dirent.h>

#include <unordered_set>

#include "db/OrnQL_Template.h"

namespace table_files {

std::vector<std::string> staleFiles(const char* path, const std::vector<unsigned>& bounds) {
    const std::string given(path);
    const std::size_t slash = given.rfind('/');
    const std::string directory = slash == std::string::npos ? std::string() : given.substr(0, slash + 1);
    const std::string prefix = slash == std::string::npos ? given : given.substr(slash + 1);

    std::unordered_set<std::string> keep{prefix + ".dat"};
    for (unsigned bound : bounds) {
        keep.insert(prefix + std::to_string(bound) + ".dat");
    }
    std::vector<std::string> stale;
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) {
        return stale;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name(entry->d_name);
        if (!name.empty() && name.front() != '.' && name.compare(0, prefix.size(), prefix) == 0 &&
            keep.count(name) == 0 && entry->d_type != DT_DIR) {
            stale.push_back(directory + name);
        }
    }
    closedir(dir);
    return stale;
}

}  // namespace table_files
