#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

// A scratch directory for fuzz targets that must go through files; made on first use and
// removed when the process ends.
class FuzzScratch {
public:
    static const std::string& directory() {
        static FuzzScratch scratch;
        return scratch.path;
    }

    static void writeFile(const std::string& name, const unsigned char* data, size_t size) {
        std::ofstream out(directory() + "/" + name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

private:
    FuzzScratch() {
        char pattern[] = "/tmp/mernolex-fuzz-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            abort();
        }
        path = pattern;
    }
    ~FuzzScratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }

    std::string path;
};
