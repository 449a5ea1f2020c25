#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "program/DataDirectory.h"
#include "program/Launch.h"
#include "support/TempDirTest.h"

namespace {

namespace fs = std::filesystem;
using Origin = DataDirectory::Origin;

class DataDirectoryTest : public mernolex::test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        start = fs::current_path();
        environment = {(start / "xdg").string(), (start / "home").string()};
    }

    std::optional<DataDirectory> choose(const std::optional<std::string>& requested = std::nullopt) {
        problem.clear();
        return DataDirectory::choose(requested, environment, problem);
    }
    std::optional<fs::path> chosenPath(const std::optional<std::string>& requested = std::nullopt) {
        std::optional<DataDirectory> directory = choose(requested);
        return directory ? std::optional<fs::path>(directory->path()) : std::nullopt;
    }
    bool enter(const std::string& requested) {
        problem.clear();
        std::optional<DataDirectory> directory = choose(requested);
        return directory && directory->enter(problem);
    }

    fs::path start;
    DataDirectory::Environment environment;
    std::string problem;
};

TEST_F(DataDirectoryTest, DataGoesWhereAskedElseWhereItIsElseToTheUsersDataDirectory) {
    EXPECT_EQ(chosenPath(), start / "xdg" / "mernolex");
    EXPECT_EQ(choose()->origin(), Origin::UserDataDirectory);
    // XDG_DATA_HOME must be absolute to count; otherwise the home directory's default is used.
    environment.xdgDataHome = "relative/share";
    EXPECT_EQ(chosenPath(), start / "home" / ".local" / "share" / "mernolex");
    environment.xdgDataHome = "";
    EXPECT_EQ(chosenPath(), start / "home" / ".local" / "share" / "mernolex");

    // A file called Data is no collection.
    writeFile("Data", "");
    EXPECT_EQ(choose()->origin(), Origin::UserDataDirectory);
    fs::remove("Data");
    fs::create_directory("Data");
    EXPECT_EQ(chosenPath(), start);
    EXPECT_EQ(choose()->origin(), Origin::WorkingDirectory);

    EXPECT_EQ(chosenPath("words/../My Words/"), start / "My Words");
    EXPECT_EQ(choose("/srv/words")->origin(), Origin::Requested);
    // Choosing creates nothing.
    EXPECT_FALSE(fs::exists("My Words"));
    EXPECT_FALSE(fs::exists("xdg"));
}

TEST_F(DataDirectoryTest, WithoutAnyHomeTheUserIsToldToNameADirectory) {
    environment = {};
    EXPECT_FALSE(choose());
    EXPECT_NE(problem.find("--data DIR"), std::string::npos) << problem;
    // A named directory needs no home.
    EXPECT_EQ(chosenPath("words"), start / "words");
}

TEST_F(DataDirectoryTest, TheProcessEnvironmentFallsBackToThePasswordDatabasesHome) {
    setenv("XDG_DATA_HOME", "/somewhere/share", 1);
    setenv("HOME", "/home/learner", 1);
    DataDirectory::Environment read = DataDirectory::Environment::ofProcess();
    EXPECT_EQ(read.xdgDataHome, "/somewhere/share");
    EXPECT_EQ(read.home, "/home/learner");
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    read = DataDirectory::Environment::ofProcess();
    EXPECT_EQ(read.xdgDataHome, "");
    EXPECT_TRUE(fs::path(read.home).is_absolute()) << read.home;
}

TEST_F(DataDirectoryTest, EnteringCreatesWhatIsMissingAndTheUsersOwnOnlyForThem) {
    ASSERT_TRUE(enter("one/two/words")) << problem;
    EXPECT_EQ(fs::current_path(), start / "one" / "two" / "words");

    fs::current_path(start);
    problem.clear();
    std::optional<DataDirectory> user = choose();
    ASSERT_TRUE(user);
    ASSERT_TRUE(user->enter(problem)) << problem;
    EXPECT_EQ(fs::current_path(), start / "xdg" / "mernolex");
    struct stat status {};
    ASSERT_EQ(stat(".", &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);

    // Entering again leaves what is there, but narrows a directory opened to others since.
    writeFile("Data/kept", "words");
    ASSERT_EQ(chmod(".", 0755), 0);
    fs::current_path(start);
    ASSERT_TRUE(user->enter(problem)) << problem;
    EXPECT_EQ(readFile("Data/kept"), "words");
    ASSERT_EQ(stat(".", &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    // A directory named on the command line is the user's own choice, and stays as it is.
    fs::create_directory(start / "shared");
    ASSERT_EQ(chmod((start / "shared").c_str(), 0755), 0);
    ASSERT_TRUE(enter((start / "shared").string())) << problem;
    ASSERT_EQ(stat(".", &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0755u);
}

TEST_F(DataDirectoryTest, ADirectoryThatCannotBeMadeOrIsAFileIsRefusedAndNothingMoves) {
    writeFile("blocker", "a file");
    EXPECT_FALSE(enter("blocker/words"));
    EXPECT_EQ(problem, "cannot create the data directory \"" + (start / "blocker" / "words").string() +
                           "\": Not a directory");
    EXPECT_FALSE(enter("blocker"));
    EXPECT_EQ(problem, "the data directory \"" + (start / "blocker").string() + "\" is not a directory");
    EXPECT_EQ(fs::current_path(), start);
}

TEST_F(DataDirectoryTest, EitherWayToOneDirectoryMeetsTheSameLock) {
    fs::create_directory("Data");
    std::unique_ptr<InstanceLock> first = claimDataDirectory(std::nullopt, environment, problem);
    ASSERT_TRUE(first) << problem;
    EXPECT_TRUE(fs::exists(start / ".mernolex.lock"));

    fs::current_path("/");
    EXPECT_FALSE(claimDataDirectory(start.string(), environment, problem));
    EXPECT_NE(problem.find("is working on the data directory \"" + start.string() + "\""), std::string::npos)
        << problem;
    first.reset();
    EXPECT_TRUE(claimDataDirectory(start.string(), environment, problem)) << problem;
}

}  // namespace
