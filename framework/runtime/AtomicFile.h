// Settings files read whole and replaced whole, so no reader or writer ever
// sees half a file, even when a writer dies in the middle.
//
// A replacement is written to a temporary file in the same folder, flushed to
// disk, renamed over the old file, and the folder flushed too. The new file
// keeps the old one's permission bits (never set-user or set-group id) and,
// where the process may, its owner and group; a new file is private (0600).
// A file without write permission for us, or without any write bit at all
// (even for the superuser), is read-only and never replaced.
//
// The whole read-change-write runs under an advisory lock (flock) on the
// folder, so two programs changing one file at once each see the other's
// finished file and nobody's change is lost (the last writer's value wins).
// A writer waits for that lock at most SettingsLockWait and then gives up.
//
// Temporary files are named ".<file name>.<number>.tmp", the file name cut
// where the whole would pass the folder's name limit. Writers make them only
// while they hold the folder's lock, so one found under the lock was left by a
// writer that died; the next write in the folder removes it (another file's
// only once it has lain a while, in case it is another program's).
//
// The file's own name is never followed through a symlink: a symlink, a
// folder, a device or an oversized file in its place is "refused", which
// readers take as no data and writers as a reason not to write. A
// replacement larger than a reader takes is never written.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Settings files are small; anything larger is not one of ours.
inline constexpr std::size_t MaxSettingsFileSize = 8u << 20;

// How long a writer waits for another program to let go of the folder.
inline constexpr std::chrono::milliseconds SettingsLockWait{2000};

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

// How a change of a settings file ended.
enum TSettingsUpdate {
    suDone,      // replaced, or nothing to change
    suBusy,      // another program kept the folder locked past SettingsLockWait
    suReadOnly,  // the file is read-only to us
    suTooLarge,  // the new text is larger than MaxSettingsFileSize
    suFailed     // the folder could not be opened, something not ours is in the
                 // file's place, or the replacement could not be written (a full
                 // disk, a folder we may not write)
};

// Locks the folder of path, reads the file and hands it to change. When change
// returns a text, the file is replaced by it atomically; when it returns
// nothing, the file stays as it is. Whatever goes wrong, the old file is
// untouched. The folder must exist.
TSettingsUpdate UpdateSettingsFile(
    const std::string& path, const std::function<std::optional<std::string>(const TSettingsFileText&)>& change);

// A program's own output file (a picture, a calendar) replaced whole the same
// way, through a temporary file, without a settings file's lock and checks:
// the new file gets mode, even where it replaces one. 0 when written, else the
// errno of the step that failed (EISDIR for a path that names no file in its
// folder); then the old file, if any, is as it was and no temporary file is left.
int ReplaceFileAtomically(const std::string& path, std::string_view bytes, mode_t mode);

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
