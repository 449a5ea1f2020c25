#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "program/CommandLine.h"

namespace {

using Arguments = std::vector<std::string>;
using Action = CommandLine::Action;

TEST(CommandLineTest, RunsWithTheDataDirectoryInEitherFormOrWithoutOne) {
    EXPECT_EQ(CommandLine::parse({}).action(), Action::Run);
    EXPECT_FALSE(CommandLine::parse({}).dataDirectory());

    const CommandLine separate = CommandLine::parse({"--data", "Vocabulary"});
    EXPECT_EQ(separate.action(), Action::Run);
    EXPECT_EQ(separate.dataDirectory(), "Vocabulary");
    EXPECT_EQ(CommandLine::parse({"--data=My Words/"}).dataDirectory(), "My Words/");
    // The word after --data is its value, whatever it looks like.
    EXPECT_EQ(CommandLine::parse({"--data", "--help"}).dataDirectory(), "--help");
    EXPECT_EQ(CommandLine::parse({"--data", "--help"}).action(), Action::Run);
}

TEST(CommandLineTest, HelpWinsOverVersionAndBothOverRunning) {
    EXPECT_EQ(CommandLine::parse({"--help"}).action(), Action::ShowHelp);
    EXPECT_EQ(CommandLine::parse({"-h"}).action(), Action::ShowHelp);
    EXPECT_EQ(CommandLine::parse({"--version"}).action(), Action::ShowVersion);
    EXPECT_EQ(CommandLine::parse({"--version", "--help"}).action(), Action::ShowHelp);
    EXPECT_EQ(CommandLine::parse({"--data", "x", "--version"}).action(), Action::ShowVersion);
}

TEST(CommandLineTest, AWrongCommandLineIsRefusedWithOneLineSayingWhatIsWrong) {
    const struct {
        Arguments arguments;
        std::string problem;
    } cases[] = {
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"-x"}, "unknown option '-x'"},
        {{"--datadir=x"}, "unknown option '--datadir=x'"},
        {{"-"}, "unknown option '-'"},
        {{"Vocabulary"}, "unexpected argument 'Vocabulary'"},
        {{"--data"}, "the option --data needs a directory"},
        {{"--data="}, "the option --data needs a directory"},
        {{"--data", ""}, "the option --data needs a directory"},
        {{"--data", "a", "--data=b"}, "the option --data is given twice"},
        // A mistake is never passed over for help, version or a run.
        {{"--help", "--bogus"}, "unknown option '--bogus'"},
        {{"--version", "extra"}, "unexpected argument 'extra'"},
        {{"--data", "a", "--bogus"}, "unknown option '--bogus'"},
    };
    for (const auto& c : cases) {
        const CommandLine line = CommandLine::parse(c.arguments);
        SCOPED_TRACE(c.problem);
        EXPECT_EQ(line.action(), Action::Refuse);
        EXPECT_EQ(line.problem(), c.problem);
        EXPECT_FALSE(line.dataDirectory());
    }
}

TEST(CommandLineTest, TheUsageNamesEveryOptionAndTheVersionIsTheProjectsOwn) {
    const std::string usage = CommandLine::usage("mernolex");
    EXPECT_EQ(usage.rfind("Usage: mernolex [--data DIR]\n", 0), 0u);
    for (const char* option : {"--data DIR", "--help", "--version", "XDG_DATA_HOME", "~/.local/share/mernolex"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
    // "mernolex MAJOR.MINOR.PATCH", from the build's project version.
    const std::string version = CommandLine::version("mernolex");
    ASSERT_EQ(version.rfind("mernolex ", 0), 0u) << version;
    ASSERT_EQ(version.back(), '\n');
    const std::string number = version.substr(9, version.size() - 10);
    EXPECT_EQ(std::count(number.begin(), number.end(), '.'), 2) << version;
    EXPECT_EQ(number.find_first_not_of("0123456789."), std::string::npos) << version;
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(number.front())) &&
                std::isdigit(static_cast<unsigned char>(number.back())))
        << version;
}

}  // namespace
