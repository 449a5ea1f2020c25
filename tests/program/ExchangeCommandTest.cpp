// The import and export commands: their command line, and the program run as a process on a data
// directory, without a display.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "program/CommandLine.h"
#include "program/InstanceLock.h"
#include "support/TempDirTest.h"

namespace {

using Action = CommandLine::Action;

TEST(ExchangeCommandLineTest, ImportAndExportTakeTheirOptionsInEitherForm) {
    const CommandLine import = CommandLine::parse(
        {"--data", "D", "import", "words.tsv", "--foreign=German", "--known", "English", "--columns", "foreign,known,skip",
         "--duplicates", "skip", "--lesson", "L 1", "--split-articles", "--skip-refused", "--dry-run"});
    ASSERT_EQ(import.action(), Action::Import);
    EXPECT_EQ(import.dataDirectory(), "D");
    const ExchangeCommand& command = *import.exchange();
    EXPECT_EQ(command.file, "words.tsv");
    EXPECT_EQ(command.foreign, "German");
    EXPECT_EQ(command.known, "English");
    EXPECT_EQ(command.columns, (std::vector<std::string>{"foreign", "known", "skip"}));
    EXPECT_TRUE(command.skipDuplicates && command.splitArticles && command.skipRefused && command.dryRun);
    EXPECT_EQ(command.lesson, "L 1");
    const CommandLine exported = CommandLine::parse({"export", "out.txt", "--format", "kvtml", "--data=D"});
    ASSERT_EQ(exported.action(), Action::Export);
    EXPECT_EQ(exported.exchange()->format, ExchangeCommand::Format::Kvtml);
    EXPECT_EQ(exported.dataDirectory(), "D");
    EXPECT_EQ(CommandLine::parse({"import", "x", "--help"}).action(), Action::ShowHelp);
}

TEST(ExchangeCommandLineTest, AWrongCommandIsRefusedWithOneLine) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"import"}, "import needs a FILE"},
        {{"import", "a", "b"}, "unexpected argument 'b'"},
        {{"import", "a", "--foreign"}, "the option --foreign needs a value"},
        {{"import", "a", "--lesson", "x", "--lesson=y"}, "the option --lesson is given twice"},
        {{"import", "a", "--duplicates", "always"}, "--duplicates takes update or skip, not 'always'"},
        {{"import", "a", "--format", "tsv"}, "unknown option '--format' for import"},
        {{"export", "a", "--dry-run"}, "unknown option '--dry-run' for export"},
        {{"export", "a", "--format", "csv"}, "--format takes tsv or kvtml, not 'csv'"},
    };
    for (const auto& [arguments, problem] : cases) {
        const CommandLine line = CommandLine::parse(arguments);
        EXPECT_EQ(line.action(), Action::Refuse) << problem;
        EXPECT_EQ(line.problem(), problem);
    }
}

class ExchangeProcessTest : public mernolex::test::TempDirTest {
protected:
    struct Result {
        int status = -1;
        std::string output;
    };

    // Runs the program with the arguments (no display), output and errors together.
    static Result run(const std::string& arguments) {
        Result result;
        const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY '" MERNOLEX_PROGRAM "' " + arguments + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[4096];
        while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            result.output += buffer;
        }
        const int status = pipe == nullptr ? -1 : pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }
};

TEST_F(ExchangeProcessTest, ImportDryRunExportAndTheirStatuses) {
    writeFile("words.tsv", "Haus\thouse\nBaum\ttree\n\tno foreign\n");
    const Result dry = run("--data d import words.tsv --foreign German --known English --skip-refused --dry-run");
    EXPECT_EQ(dry.status, 0) << dry.output;
    EXPECT_NE(dry.output.find("new cards: 2"), std::string::npos) << dry.output;
    EXPECT_FALSE(std::filesystem::exists("d/Data/Flashcard/flashcards0.dat")) << "a dry run stores nothing";

    const Result refused = run("--data d import words.tsv --foreign German --known English");
    EXPECT_EQ(refused.status, 1) << refused.output;
    EXPECT_NE(refused.output.find("Line 3: no foreign word"), std::string::npos) << refused.output;
    EXPECT_FALSE(std::filesystem::exists("d/Data/Flashcard/flashcards0.dat"));

    const Result stored = run("--data d import words.tsv --foreign German --known English --skip-refused");
    EXPECT_EQ(stored.status, 0) << stored.output;
    EXPECT_TRUE(std::filesystem::exists("d/Data/Flashcard/flashcards0.dat"));

    const Result exported = run("--data d export out.txt");
    EXPECT_EQ(exported.status, 0) << exported.output;
    EXPECT_NE(readFile("out.txt").find("Haus\thouse\t"), std::string::npos) << readFile("out.txt");
    EXPECT_EQ(run("--data d import missing.tsv --foreign G --known E").status, 1);
    EXPECT_EQ(run("--data d export out.txt --foreign Klingon").status, 1);
}

TEST_F(ExchangeProcessTest, ARunningProgramsLockRefusesTheCommands) {
    writeFile("words.tsv", "Haus\thouse\n");
    std::filesystem::create_directory("d");
    std::string problem;
    const std::unique_ptr<InstanceLock> lock = InstanceLock::acquire(std::filesystem::absolute("d"), problem);
    ASSERT_NE(lock, nullptr) << problem;
    const Result refused = run("--data d import words.tsv --foreign German --known English");
    EXPECT_EQ(refused.status, 2) << refused.output;
    EXPECT_FALSE(std::filesystem::exists("d/Data"));
    EXPECT_EQ(run("--data d export out.txt").status, 2);
}

}  // namespace
