// Settings files read whole and replaced whole, so no reader or writer ever
// sees half a file, even when a writer dies in the middle.
//
// A replacement is written to a temporary file in the same folder (mode 0600),
// flushed to disk, renamed over the old file, and the folder flushed too. The
// whole read-change-write runs under an advisory lock on the folder, so two
// programs changing one file at once each see the other's finished file and
// nobody's change is lost (the last writer's value wins).
//
// The file's own name is never followed through a symlink: a symlink, a
// folder, a device or an oversized file in its place is "refused", which
// readers take as no data and writers as a reason not to write.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// Settings files are small; anything larger is not one of ours.
inline constexpr std::size_t MaxSettingsFileSize = 8u << 20;

enum TSettingsFileState {
    sfMissing, // no file of that name
    sfRead,    // Text holds the whole file
    sfRefused  // something we must not read or replace is there (see above)
};

struct TSettingsFileText {
    TSettingsFileState State = sfMissing;
    std::string Text;
};

// Reads path (an absolute path) whole.
TSettingsFileText ReadSettingsFile(const std::string& path);

// Locks the folder of path, reads the file and hands it to change. When change
// returns a text, the file is replaced by it atomically; when it returns
// nothing, the file stays as it is. It waits while another writer holds the
// lock. False when the folder cannot be opened or locked, or the replacement
// could not be written; the old file is then untouched. The folder must exist.
bool UpdateSettingsFile(const std::string& path,
                        const std::function<std::optional<std::string>(const TSettingsFileText&)>& change);

// The steps of a replacement, for tests that stop a writer at each of them.
enum TAtomicWriteStep {
    awLocked,       // the folder lock is held, nothing written yet
    awTempCreated,  // the temporary file exists, empty
    awHalfWritten,  // half the new text is in the temporary file
    awWritten,      // all of it
    awSynced,       // the temporary file is on disk
    awRenamed,      // the new file has the file's name
    awFolderSynced  // the rename is on disk
};
// Called at each step of every replacement; nullptr (the default) for none.
void SetAtomicWriteStepHook(void (*hook)(TAtomicWriteStep step));
