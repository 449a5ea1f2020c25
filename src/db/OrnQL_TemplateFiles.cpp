#include <cctype>
#include <future>
#include <map>
#include <memory>
#include <thread>
#include <unordered_set>

#include "base/FileSystem.h"
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

using Entry = FileSystem::Entry;
using Listing = std::vector<Entry>;

// The entries of a directory, hidden ones left out; none when it cannot be listed.
Listing readListing(const std::string& directory) {
    Listing listing;
    if (!fileSystem().list(directory, listing)) {
        listing.clear();
    }
    std::erase_if(listing, [](const Entry& entry) { return entry.name.front() == '.'; });
    return listing;
}

// The listings of a load: each directory listed once, either when a table first asks for it or
// ahead of time by a thread of the load's own (a future per directory, fulfilled in order).
struct Listings {
    std::map<std::string, Listing> listed;
    std::map<std::string, std::future<Listing>> coming;
    std::map<std::string, unsigned> tablesLeft;  // a listing goes once its last table has used it
    std::thread lister;
};
std::unique_ptr<Listings> sharedListings;

const Listing& sharedListingOf(const std::string& directory) {
    auto found = sharedListings->listed.find(directory);
    if (found != sharedListings->listed.end()) {
        return found->second;
    }
    auto coming = sharedListings->coming.find(directory);
    Listing listing;
    if (coming != sharedListings->coming.end()) {
        std::future<Listing> ahead = std::move(coming->second);
        sharedListings->coming.erase(coming);
        listing = ahead.get();
    } else {
        listing = readListing(directory);
    }
    return sharedListings->listed.emplace(directory, std::move(listing)).first->second;
}

// The listing of a directory of many files is large, and a load's peak memory comes after the
// last table has looked at it.
void noteListingUsed(const std::string& directory) {
    auto left = sharedListings->tablesLeft.find(directory);
    if (left != sharedListings->tablesLeft.end() && --left->second == 0) {
        sharedListings->tablesLeft.erase(left);
        sharedListings->listed.erase(directory);
    }
}

// Calls visit(name) for every file of the directory whose name begins with prefix.
template <typename Visit>
void forEachFileWithPrefix(const TableLocation& where, Visit visit) {
    Listing fresh;
    const Listing* listing = &fresh;
    if (sharedListings != nullptr) {
        listing = &sharedListingOf(where.directory);
    } else {
        fresh = readListing(where.directory);
    }
    for (const Entry& entry : *listing) {
        if (!entry.isDirectory && std::string_view(entry.name).starts_with(where.prefix)) {
            visit(std::string_view(entry.name));
        }
    }
    if (sharedListings != nullptr) {
        noteListingUsed(where.directory);
    }
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
    forEachFileWithPrefix(where, [&](std::string_view name) {
        if (keep.count(std::string(name)) == 0) {
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
    forEachFileWithPrefix(where, [&](std::string_view name) {
        unsigned bound = 0;
        if (unlisted.empty() && boundOfName(name, where.prefix.size(), bound) &&
            !std::binary_search(sortedListed.begin(), sortedListed.end(), bound)) {
            unlisted = where.directory + std::string(name);
        }
    });
    return unlisted;
}

bool writeIndex(const char* path, const std::vector<unsigned>& bounds) {
    AtomicFile index(indexName(path));
    if (!index.isOpen()) {
        return false;
    }
    static_assert(sizeof(unsigned) == sizeof(std::uint32_t));
    index.stream().write(reinterpret_cast<const char*>(bounds.data()),
                         static_cast<std::streamsize>(bounds.size() * sizeof(std::uint32_t)));
    return index.commit();
}

bool removeFiles(const std::vector<std::string>& files, const std::vector<unsigned>& boundsOfFiles,
                 std::vector<unsigned>& unremoved) {
    bool removedAll = true;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!removeFileIfPresent(files[i])) {
            removedAll = false;
            if (i < boundsOfFiles.size() && boundsOfFiles[i] != NO_BOUND) {
                unremoved.push_back(boundsOfFiles[i]);
            }
        }
    }
    return removedAll;
}

SharedListings::SharedListings(const std::vector<const char*>& tablePaths, bool ahead) {
    auto listings = std::make_unique<Listings>();
    std::vector<std::string> directories;
    std::vector<std::promise<Listing>> promises;
    for (const char* path : tablePaths) {
        ++listings->tablesLeft[locate(path).directory];
    }
    if (ahead) {
        for (const char* path : tablePaths) {
            std::string directory = locate(path).directory;
            if (listings->coming.count(directory) == 0) {
                promises.emplace_back();
                listings->coming.emplace(directory, promises.back().get_future());
                directories.push_back(std::move(directory));
            }
        }
    }
    if (!promises.empty()) {
        try {
            listings->lister = std::thread([directories, promises = std::move(promises)]() mutable {
                for (std::size_t i = 0; i < directories.size(); ++i) {
                    try {
                        promises[i].set_value(readListing(directories[i]));
                    } catch (...) {
                        promises[i].set_exception(std::current_exception());  // the load meets it
                    }
                }
            });
        } catch (...) {
            listings->coming.clear();  // no thread: each directory is listed when asked for
        }
    }
    sharedListings = std::move(listings);
}

SharedListings::~SharedListings() {
    if (sharedListings->lister.joinable()) {
        sharedListings->lister.join();
    }
    sharedListings.reset();
}

namespace {

// Reading ahead across tables covers the time the loading thread spends linking a table of
// links (tens of milliseconds, thousands of small files), within FileReadAhead's byte limit.
constexpr std::size_t FILES_AHEAD_ACROSS_TABLES = 8192;

struct SharedFiles {
    std::map<std::string, std::size_t> firstFileOf;  // table path -> its first file in the list
    std::unique_ptr<FileReadAhead> reader;
};
std::unique_ptr<SharedFiles> sharedFiles;

}  // namespace

// A table whose index cannot be read whole is left out: its load fails on its own.
SharedReadAhead::SharedReadAhead(const std::vector<const char*>& tablePaths) {
    auto shared = std::make_unique<SharedFiles>();
    std::vector<std::vector<unsigned>> boundsOf(tablePaths.size());
    std::size_t files = 0;
    for (std::size_t t = 0; t < tablePaths.size(); ++t) {
        bool whole = true;
        if (!readIndex(tablePaths[t], boundsOf[t], whole) || !whole) {
            boundsOf[t].clear();
            continue;
        }
        shared->firstFileOf.emplace(tablePaths[t], files);
        files += boundsOf[t].size();
    }
    std::vector<std::string> names;
    names.reserve(files);
    for (std::size_t t = 0; t < tablePaths.size(); ++t) {
        for (unsigned bound : boundsOf[t]) {
            names.push_back(boundName(tablePaths[t], bound));
        }
    }
    const FileReadAhead::Policy policy = FileReadAhead::policyForLoading();
    shared->reader = std::make_unique<FileReadAhead>(std::move(names), policy.threads, policy.always,
                                                     FILES_AHEAD_ACROSS_TABLES);
    sharedFiles = std::move(shared);
}

SharedReadAhead::~SharedReadAhead() {
    sharedFiles.reset();
}

FileReadAhead* SharedReadAhead::positionedFor(const char* path, const std::vector<std::string>& names) {
    if (sharedFiles == nullptr) {
        return nullptr;
    }
    const auto found = sharedFiles->firstFileOf.find(path);
    if (found == sharedFiles->firstFileOf.end()) {
        return nullptr;
    }
    FileReadAhead& reader = *sharedFiles->reader;
    const std::size_t first = found->second;
    // Names of files handed out are gone: those files are past anyway.
    if (reader.position() > first || first + names.size() > reader.size()) {
        return nullptr;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (reader.name(first + i) != names[i]) {
            return nullptr;
        }
    }
    return reader.skipTo(first) ? &reader : nullptr;
}

void throwDamage(const char* message) {
    throw Damaged<OrnQLException_Template>(message);
}

bool fileExists(const std::string& file) {
    return pathExists(file);
}

}  // namespace table_files
