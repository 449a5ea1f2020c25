#pragma once

// The one directory the program works in. Every file the program keeps is named relative to the
// working directory ("Data/Word/words", "Data/Framework/strings.dat"), so the program enters this
// directory before anything reads or writes a file; a collection started from a folder before
// keeps working there unchanged. The choice, in this order:
//   1. the directory given with --data;
//   2. the working directory at start, when it already holds Data/ (the collection of a user who
//      starts the program from that folder);
//   3. the user's data directory: $XDG_DATA_HOME/mernolex, or ~/.local/share/mernolex when
//      XDG_DATA_HOME is not set (a relative or empty value counts as not set, as the XDG base
//      directory rules ask).
// The chosen directory is created when it is missing; the user's data directory is created
// readable by its owner only, since it holds their collection, and narrowed to that when it was
// made open to others before.

#include <filesystem>
#include <optional>
#include <string>

class DataDirectory {
public:
    enum class Origin { Requested, WorkingDirectory, UserDataDirectory };

    // The variables the choice depends on; unset ones stay empty.
    struct Environment {
        std::string xdgDataHome;
        std::string home;
        // XDG_DATA_HOME and HOME of this process; without HOME, the home directory of the
        // password database.
        static Environment ofProcess();
    };

    // Chooses the directory without creating anything. `requested` is the value of --data.
    // Returns nothing, with a one-line reason in `problem`, when no home directory is known to
    // hold the user's data directory.
    static std::optional<DataDirectory> choose(const std::optional<std::string>& requested,
                                               const Environment& environment, std::string& problem);

    // Absolute and normalised, for messages and for the lock.
    const std::filesystem::path& path() const { return path_; }
    Origin origin() const { return origin_; }

    // Creates the directory when missing and makes it the working directory. False, with a
    // one-line reason naming the directory in `problem`, when it cannot be created or entered
    // (or is no directory); the working directory is then unchanged.
    bool enter(std::string& problem) const;

private:
    DataDirectory(std::filesystem::path path, Origin origin);
    bool create(std::string& problem) const;
    void narrowToOwner() const;

    std::filesystem::path path_;
    Origin origin_;
};
