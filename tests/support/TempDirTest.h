#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace mernolex::test {

// Runs each test in a fresh temporary working directory, so that relative paths such as
// "Data/Word/words" never touch another test's files. The directory is removed afterwards.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The temporary directory, which is also the working directory during the test.
    const std::filesystem::path& dir() const { return dir_; }

    // Writes bytes to a file below the working directory, creating missing parent directories.
    static void writeFile(const std::filesystem::path& path, const std::string& bytes);
    // Reads a whole file; an absent file reads as the empty string.
    static std::string readFile(const std::filesystem::path& path);

private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

}  // namespace mernolex::test
