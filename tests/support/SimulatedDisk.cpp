#include "support/SimulatedDisk.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace mernolex::test {

namespace fs = std::filesystem;

namespace {

FileSystem& real() {
    return posixFileSystem();
}

std::string normalised(const std::string& path) {
    std::string result = fs::path(path.empty() ? "." : path).lexically_normal().generic_string();
    while (result.size() > 1 && result.back() == '/') {
        result.pop_back();
    }
    return result.empty() ? "." : result;
}

std::string readRealFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void addRange(std::vector<std::pair<off_t, off_t>>& ranges, off_t begin, off_t end) {
    if (begin >= end) {
        return;
    }
    std::vector<std::pair<off_t, off_t>> merged;
    for (const auto& range : ranges) {
        if (range.second < begin || range.first > end) {
            merged.push_back(range);
        } else {
            begin = std::min(begin, range.first);
            end = std::max(end, range.second);
        }
    }
    merged.emplace_back(begin, end);
    std::sort(merged.begin(), merged.end());
    ranges = std::move(merged);
}

}  // namespace

SimulatedDisk::SimulatedDisk(std::string trackedRoot) : root(trackedRoot.empty() ? "" : normalised(trackedRoot)) {
    if (!root.empty()) {
        if (!fs::is_directory(root)) {
            throw std::runtime_error("the tracked root must exist: " + root);
        }
        snapshot();
    }
    previous = &fileSystem();
    useFileSystem(this);
}

SimulatedDisk::~SimulatedDisk() {
    useFileSystem(previous == this ? nullptr : previous);
}

std::size_t SimulatedDisk::arm(const Fault& fault) {
    std::lock_guard<std::mutex> guard(lock);
    faults.push_back(Armed{fault, fault.nth});
    return faults.size() - 1;
}

bool SimulatedDisk::fired(std::size_t handle) const {
    std::lock_guard<std::mutex> guard(lock);
    return handle < faults.size() && faults[handle].hasFired;
}

void SimulatedDisk::disarm(std::size_t handle) {
    std::lock_guard<std::mutex> guard(lock);
    if (handle < faults.size()) {
        faults[handle].left = 0;
        faults[handle].fault.lasting = false;
    }
}

void SimulatedDisk::disarmAll() {
    std::lock_guard<std::mutex> guard(lock);
    for (Armed& armed : faults) {
        armed.left = 0;
        armed.fault.lasting = false;
    }
}

void SimulatedDisk::resume() {
    isStopped.store(false);
}

void SimulatedDisk::powerLoss() {
    std::lock_guard<std::mutex> guard(lock);
    isStopped.store(false);
    if (root.empty()) {
        return;
    }
    fs::remove_all(root);
    restore(root, rootNode);
    snapshot();
    for (auto& [fd, file] : openFiles) {
        file.node = 0;  // the files it named are gone
    }
}

unsigned SimulatedDisk::count(unsigned calls) const {
    std::lock_guard<std::mutex> guard(lock);
    unsigned total = 0;
    for (const auto& [call, made] : counts) {
        total += (call & calls) != 0 ? made : 0;
    }
    return total;
}

// --- bookkeeping ------------------------------------------------------------------------------

SimulatedDisk::Verdict SimulatedDisk::judge(Call call, const std::string& path) {
    ++counts[call];
    if (isStopped.load()) {
        return Verdict::STOPPED;
    }
    Verdict verdict = Verdict::GO;
    for (Armed& armed : faults) {
        const bool strikesAgain = armed.hasFired && armed.fault.lasting && armed.left == 0;
        if ((armed.left == 0 && !strikesAgain) || (armed.fault.calls & call) == 0 ||
            (!armed.fault.pathPart.empty() && path.find(armed.fault.pathPart) == std::string::npos)) {
            continue;
        }
        if (!strikesAgain && --armed.left != 0) {
            continue;
        }
        armed.hasFired = true;
        switch (armed.fault.effect) {
        case Effect::FAIL:
            errno = armed.fault.error;
            verdict = Verdict::FAIL;
            break;
        case Effect::STOP:
            isStopped.store(true);
            return Verdict::STOP;
        case Effect::KILL:
            if (call == WRITE) {
                return Verdict::KILL;  // torn first
            }
            ::kill(::getpid(), SIGKILL);
            break;
        }
    }
    return verdict;
}

int SimulatedDisk::refuse(int error) {
    errno = error;
    return -1;
}

void SimulatedDisk::snapshot() {
    nodes.clear();
    nextNode = 1;
    rootNode = snapshotNode(root, true);
}

unsigned SimulatedDisk::snapshotNode(const std::string& path, bool directory) {
    const unsigned id = newNode(directory);
    if (!directory) {
        nodes[id].durable = readRealFile(path);
        return id;
    }
    std::map<std::string, unsigned> entries;
    for (const auto& entry : fs::directory_iterator(path)) {
        const bool isDirectory = entry.is_directory();
        if (!isDirectory && !entry.is_regular_file()) {
            continue;
        }
        entries[entry.path().filename().string()] = snapshotNode(entry.path().string(), isDirectory);
    }
    nodes[id].entries = entries;
    nodes[id].durableEntries = entries;
    return id;
}

unsigned SimulatedDisk::newNode(bool directory) {
    const unsigned id = nextNode++;
    nodes[id].directory = directory;
    return id;
}

std::pair<unsigned, std::string> SimulatedDisk::parentOf(const std::string& path) const {
    if (root.empty()) {
        return {0, ""};
    }
    const std::string given = normalised(path);
    if (given.size() <= root.size() || given.compare(0, root.size(), root) != 0 || given[root.size()] != '/') {
        return {0, ""};
    }
    unsigned node = rootNode;
    std::size_t at = root.size() + 1;
    for (;;) {
        const std::size_t slash = given.find('/', at);
        if (slash == std::string::npos) {
            return {node, given.substr(at)};
        }
        const auto& entries = nodes.at(node).entries;
        const auto found = entries.find(given.substr(at, slash - at));
        if (found == entries.end() || !nodes.at(found->second).directory) {
            return {0, ""};
        }
        node = found->second;
        at = slash + 1;
    }
}

unsigned SimulatedDisk::nodeAt(const std::string& path) const {
    if (!root.empty() && normalised(path) == root) {
        return rootNode;
    }
    const auto [parent, name] = parentOf(path);
    if (parent == 0) {
        return 0;
    }
    const auto& entries = nodes.at(parent).entries;
    const auto found = entries.find(name);
    return found == entries.end() ? 0 : found->second;
}

std::string SimulatedDisk::pathOf(int fd) const {
    const auto found = openFiles.find(fd);
    return found == openFiles.end() ? std::string() : found->second.path;
}

void SimulatedDisk::noteWrite(int fd, off_t end, off_t length) {
    const auto found = openFiles.find(fd);
    if (found != openFiles.end() && found->second.node != 0 && length > 0) {
        addRange(nodes[found->second.node].dirty, end - length, end);
    }
}

// What a successful sync makes durable: a directory's entries, or a file's size and the bytes
// written since the last sync (bytes a failed sync let go of stay as they were on the disk).
void SimulatedDisk::syncNode(int fd, unsigned node) {
    Node& synced = nodes[node];
    if (synced.directory) {
        synced.durableEntries = synced.entries;
        return;
    }
    struct stat status {};
    if (real().status(fd, status) != 0) {
        return;
    }
    const off_t size = status.st_size;
    synced.durable.resize(static_cast<std::size_t>(size), '\0');
    if (!synced.dirty.empty()) {
        // The descriptor may be open for writing only.
        const int reader = real().open(("/proc/self/fd/" + std::to_string(fd)).c_str(), O_RDONLY | O_CLOEXEC);
        for (const auto& [begin, end] : synced.dirty) {
            const off_t last = std::min(end, size);
            if (reader >= 0 && begin < last) {
                (void)::pread(reader, synced.durable.data() + begin, static_cast<std::size_t>(last - begin), begin);
            }
        }
        if (reader >= 0) {
            real().close(reader);
        }
    }
    synced.dirty.clear();
}

void SimulatedDisk::restore(const std::string& path, unsigned node) const {
    const Node& saved = nodes.at(node);
    if (!saved.directory) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(saved.durable.data(), static_cast<std::streamsize>(saved.durable.size()));
        return;
    }
    fs::create_directory(path);
    for (const auto& [name, child] : saved.durableEntries) {
        restore(path + "/" + name, child);
    }
}

// --- the calls ----------------------------------------------------------------------------------

int SimulatedDisk::open(const char* path, int flags, mode_t mode) {
    std::lock_guard<std::mutex> guard(lock);
    const Verdict verdict = judge(OPEN, path);
    if (verdict != Verdict::GO) {
        return refuse(verdict == Verdict::FAIL ? errno : EIO);
    }
    const int fd = real().open(path, flags, mode);
    if (fd < 0) {
        return fd;
    }
    const int saved = errno;
    unsigned node = nodeAt(path);
    if (node == 0 && (flags & O_CREAT) != 0) {
        const auto [parent, name] = parentOf(path);
        if (parent != 0) {
            node = newNode(false);
            nodes[parent].entries[name] = node;
        }
    }
    if (node != 0 && (flags & O_TRUNC) != 0 && !nodes[node].directory) {
        addRange(nodes[node].dirty, 0, static_cast<off_t>(nodes[node].durable.size()));
    }
    openFiles[fd] = OpenFile{path, node};
    errno = saved;
    return fd;
}

int SimulatedDisk::close(int fd) {
    std::lock_guard<std::mutex> guard(lock);
    const Verdict verdict = judge(CLOSE, pathOf(fd));
    openFiles.erase(fd);
    const int closed = real().close(fd);  // a stopped machine keeps no descriptors either
    return verdict == Verdict::GO ? closed : refuse(verdict == Verdict::FAIL ? errno : EIO);
}

ssize_t SimulatedDisk::read(int fd, void* into, std::size_t size) {
    {
        std::lock_guard<std::mutex> guard(lock);
        const Verdict verdict = judge(READ, pathOf(fd));
        if (verdict != Verdict::GO) {
            return refuse(verdict == Verdict::FAIL ? errno : EIO);
        }
    }
    const std::size_t limit = readLimit.load();
    return real().read(fd, into, limit != 0 ? std::min(size, limit) : size);
}

ssize_t SimulatedDisk::write(int fd, const void* bytes, std::size_t size) {
    std::lock_guard<std::mutex> guard(lock);
    const Verdict verdict = judge(WRITE, pathOf(fd));
    if (verdict != Verdict::GO) {
        const int error = verdict == Verdict::FAIL ? errno : EIO;
        // Cut off half way, as a full disk or a crash leaves a write.
        const ssize_t torn = verdict == Verdict::STOPPED ? 0 : real().write(fd, bytes, size / 2);
        if (verdict == Verdict::KILL) {
            ::kill(::getpid(), SIGKILL);
        }
        if (torn > 0 && verdict == Verdict::FAIL) {
            noteWrite(fd, real().seek(fd, 0, SEEK_CUR), torn);
        }
        return refuse(error);
    }
    const ssize_t written = real().write(fd, bytes, size);
    if (written > 0) {
        const int saved = errno;
        noteWrite(fd, real().seek(fd, 0, SEEK_CUR), written);
        errno = saved;
    }
    return written;
}

off_t SimulatedDisk::seek(int fd, off_t offset, int whence) {
    std::lock_guard<std::mutex> guard(lock);
    const Verdict verdict = judge(SEEK, pathOf(fd));
    if (verdict != Verdict::GO) {
        return refuse(verdict == Verdict::FAIL ? errno : EIO);
    }
    return real().seek(fd, offset, whence);
}

int SimulatedDisk::truncate(int fd, off_t size) {
    std::lock_guard<std::mutex> guard(lock);
    const Verdict verdict = judge(TRUNCATE, pathOf(fd));
    if (verdict != Verdict::GO) {
        return refuse(verdict == Verdict::FAIL ? errno : EIO);
    }
    struct stat before {};
    real().status(fd, before);
    const int cut = real().truncate(fd, size);
    const auto found = openFiles.find(fd);
    if (cut == 0 && found != openFiles.end() && found->second.node != 0) {
        addRange(nodes[found->second.node].dirty, std::min(size, before.st_size), std::max(size, before.st_size));
    }
    return cut;
}

int SimulatedDisk::status(int fd, struct stat& into) {
    std::lock_guard<std::mutex> guard(lock);
    const Verdict verdict = judge(STATUS, pathOf(fd));
    if (verdict != Verdict::GO) {
        return refuse(verdict == Verdict::FAIL ? errno : EIO);
    }
    return real().status(fd, into);
}

int SimulatedDisk::syncCall(int fd, bool dataOnly) {
    std::lock_guard<std::mutex> guard(lock);
    const auto found = openFiles.find(fd);
    const unsigned node = found == openFiles.end() ? 0 : found->second.node;
    const Verdict verdict = judge(SYNC, pathOf(fd));
    if (verdict != Verdict::GO) {
        const int error = verdict == Verdict::FAIL ? errno : EIO;
        if (verdict == Verdict::FAIL && node != 0) {
            nodes[node].dirty.clear();  // the system has let go of it: no later sync writes it
        }
        return refuse(error);
    }
    if (!syncsSkipped.load()) {
        const int synced = dataOnly ? real().syncData(fd) : real().sync(fd);
        if (synced != 0) {
            if (node != 0) {
                nodes[node].dirty.clear();
            }
            return synced;
        }
    }
    if (node != 0) {
        syncNode(fd, node);
    }
    return 0;
}

int SimulatedDisk::sync(int fd) {
    return syncCall(fd, false);
}

int SimulatedDisk::syncData(int fd) {
    return syncCall(fd, true);
}

int SimulatedDisk::rename(const char* from, const char* to) {
    std::lock_guard<std::mutex> guard(lock);
    const Verdict verdict = judge(RENAME, std::string(from) + "\n" + to);
    if (verdict != Verdict::GO) {
        return refuse(verdict == Verdict::FAIL ? errno : EIO);
    }
    const auto [fromParent, fromName] = parentOf(from);
    const auto [toParent, toName] = parentOf(to);
    const unsigned moved = nodeAt(from);
    const int renamed = real().rename(from, to);
    if (renamed != 0) {
        return renamed;
    }
    if (fromParent != 0) {
        nodes[fromParent].entries.erase(fromName);
    }
    if (toParent != 0) {
        nodes[toParent].entries[toName] = moved != 0 ? moved : newNode(false);
    }
    return 0;
}

int SimulatedDisk::unlink(const char* path) {
    std::lock_guard<std::mutex> guard(lock);
    const Verdict verdict = judge(UNLINK, path);
    if (verdict != Verdict::GO) {
        return refuse(verdict == Verdict::FAIL ? errno : EIO);
    }
    const auto [parent, name] = parentOf(path);
    const int removed = real().unlink(path);
    if (removed == 0 && parent != 0) {
        nodes[parent].entries.erase(name);
    }
    return removed;
}

int SimulatedDisk::makeDirectory(const char* path, mode_t mode) {
    std::lock_guard<std::mutex> guard(lock);
    const Verdict verdict = judge(MAKE_DIRECTORY, path);
    if (verdict != Verdict::GO) {
        return refuse(verdict == Verdict::FAIL ? errno : EIO);
    }
    const auto [parent, name] = parentOf(path);
    const int made = real().makeDirectory(path, mode);
    if (made == 0 && parent != 0) {
        nodes[parent].entries[name] = newNode(true);
    }
    return made;
}

int SimulatedDisk::statusOf(const char* path, struct stat& into) {
    std::lock_guard<std::mutex> guard(lock);
    const Verdict verdict = judge(STATUS, path);
    if (verdict != Verdict::GO) {
        return refuse(verdict == Verdict::FAIL ? errno : EIO);
    }
    return real().statusOf(path, into);
}

int SimulatedDisk::access(const char* path, int mode) {
    std::lock_guard<std::mutex> guard(lock);
    const Verdict verdict = judge(STATUS, path);
    if (verdict != Verdict::GO) {
        return refuse(verdict == Verdict::FAIL ? errno : EIO);
    }
    return real().access(path, mode);
}

bool SimulatedDisk::list(const std::string& directory, std::vector<Entry>& entries) {
    {
        std::lock_guard<std::mutex> guard(lock);
        const Verdict verdict = judge(LIST, directory);
        if (verdict != Verdict::GO) {
            refuse(verdict == Verdict::FAIL ? errno : EIO);
            return false;
        }
    }
    return real().list(directory, entries);
}

}  // namespace mernolex::test
