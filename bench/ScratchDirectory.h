#pragma once

// A fresh directory under /tmp that is the working directory while the object lives, so that a
// benchmark's Data/ never meets another run's; it is removed afterwards.

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace bench {

class ScratchDirectory {
public:
    // `name` goes into the directory's name (mernolex-bench-<name>-XXXXXX).
    explicit ScratchDirectory(const std::string& name) {
        std::string pattern = "/tmp/mernolex-bench-" + name + "-XXXXXX";
        directory = mkdtemp(pattern.data());
        std::filesystem::current_path(directory);
    }
    ~ScratchDirectory() {
        std::filesystem::current_path("/");
        std::filesystem::remove_all(directory);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

private:
    std::string directory;
};

}  // namespace bench
