#pragma once

#include <set>
#include <string>

// A backup of table files and pictures, made before start-up recovery removes or rewrites them:
// the files go into Data/Backup/<UTC date-time>/ under their path relative to Data/ (for example
// Data/Word/words3.dat becomes Data/Backup/2026-12-07_08-43-31/Word/words3.dat), so that no
// recovery ever destroys the only copy of the user's data. The directory is made on the first
// file, so a recovery with nothing to keep leaves no empty backup behind.
//
// A backup protects only once it would survive a power loss: each copy is synced as it is made,
// and makeDurable() syncs the directories, the backup's own from the deepest up, then those files
// were moved out of (a file whose move became durable out of its directory before into the backup
// would be in neither). Nothing the backup protects may change before makeDurable() returned
// true. Every file operation goes through the file system in use (base/FileSystem.h).
class DatabaseBackup {
public:
    // Chooses a fresh directory named after the current UTC time (a suffix _2, _3, ... when a
    // backup of the same second exists).
    DatabaseBackup();

    // Moves (or copies) every file of a table: the files of the prefix's directory whose names
    // begin with the prefix's last component (a missing directory holds none). False when a file
    // could not be kept; files handled before it stay handled.
    bool moveTableFiles(const char* pathPrefix) { return keepTableFiles(pathPrefix, Mode::MOVE); }
    bool copyTableFiles(const char* pathPrefix) { return keepTableFiles(pathPrefix, Mode::COPY); }
    // Copies one file; true also when there is no such file.
    bool copyFileIfPresent(const std::string& file);
    // Moves every file of a picture directory (ending with '/').
    bool moveDirectoryFiles(const char* directory);

    // Syncs the directories the backup made or changed (see above); false when one could not be.
    bool makeDurable();

    // The backup directory (it exists only once a file was kept).
    const std::string& directory() const { return root; }

private:
    enum class Mode { MOVE, COPY };

    bool keepTableFiles(const char* pathPrefix, Mode mode);
    bool keepFiles(const std::string& directory, const std::string& namePrefix, Mode mode);
    bool keep(const std::string& file, Mode mode);
    bool makeDirectories(const std::string& directory);

    std::string root;
    std::set<std::string> backupDirectories;  // made or given new entries, below and above root
    std::set<std::string> movedOutOf;         // directories files were moved out of
};
