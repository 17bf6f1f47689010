#include "framework/runtime/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <ctime>
#include <memory>
#include <mutex>
#include <random>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

namespace {

constexpr int TempNameAttempts = 100;
// A temporary name is ".<stem>.<number>.tmp" with a number below a billion.
constexpr std::uint64_t TempNumberLimit = 1'000'000'000u;
constexpr std::size_t TempNumberDigits = 9;
constexpr std::string_view TempEnding = ".tmp";
constexpr std::size_t TempNameExtra = 2 + TempNumberDigits + TempEnding.size();
// Another file's leftover temporary file is taken for a dead writer's only
// when it is older than this: a program of someone else's naming its files
// like ours is still at work on a younger one.
constexpr std::time_t StaleTempAge = 10 * 60;
// The permission bits a replacement takes over from the file it replaces.
constexpr mode_t KeptModeBits = 0777;
constexpr mode_t NewFileMode = 0600;

std::atomic<void (*)(TAtomicWriteStep)> StepHook{nullptr};

void Step(TAtomicWriteStep step)
{
    if (auto hook = StepHook.load())
        hook(step);
}

class TFd {
public:
    explicit TFd(int fd = -1) : fd_(fd) {}
    ~TFd() { Reset(); }
    TFd(TFd&& other) noexcept : fd_(other.Release()) {}
    TFd& operator=(TFd&&) = delete;
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release() { return std::exchange(fd_, -1); }
    void Reset(int fd = -1)
    {
        if (fd_ >= 0)
            close(fd_);
        fd_ = fd;
    }
    // Closes now and reports whether the close went well (a late write error
    // shows up here).
    bool Close()
    {
        const int fd = Release();
        return fd < 0 || close(fd) == 0;
    }

private:
    int fd_;
};

struct TSplitPath {
    std::string Folder;
    std::string Name;
};

TSplitPath SplitPath(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
}

bool UsableName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('\0') == std::string::npos;
}

// The file's text, and its status when it was read.
struct TReadFile {
    TSettingsFileText File;
    struct stat Status {};
};

TReadFile ReadAt(int folder, const std::string& name)
{
    TReadFile result;
    // O_NONBLOCK: a FIFO in the file's place must not hang the program.
    TFd file(openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file.Valid()) {
        result.File.State = errno == ENOENT ? sfMissing : sfRefused;
        return result;
    }
    result.File.State = sfRefused;
    if (fstat(file.Get(), &result.Status) != 0 || !S_ISREG(result.Status.st_mode) ||
        static_cast<std::size_t>(result.Status.st_size) > MaxSettingsFileSize)
        return result;
    std::string text;
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(file.Get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return result;
        }
        if (got == 0)
            break;
        text.append(chunk, static_cast<std::size_t>(got));
        // The file grew while we read it.
        if (text.size() > MaxSettingsFileSize)
            return result;
    }
    result.File = {sfRead, std::move(text)};
    return result;
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t put = write(fd, data, size);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

int SyncFd(int fd)
{
    for (;;) {
        if (fsync(fd) == 0)
            return 0;
        if (errno != EINTR)
            return -1;
    }
}

bool FlockRetried(int fd, int operation)
{
    for (;;) {
        if (flock(fd, operation) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

// The lock a helper thread waits for on the caller's behalf.
struct TLockWait {
    std::mutex Lock;
    std::condition_variable Settled;
    bool Finished = false;  // the helper has the lock, or has failed to get it
    bool Abandoned = false; // the caller stopped waiting
    int Locked = -1;        // the helper's descriptor that holds the lock
};

// Takes the folder's lock, waiting at most SettingsLockWait. Usually the lock
// is free. When it is not, a helper thread waits for it in the kernel, with a
// descriptor of its own: a blocked waiter is woken the moment the holder lets
// go, where polling would starve while another program writes in a tight loop
// (the lock is free only for an instant between its writes). The caller waits
// for the helper a bounded time; a helper it gave up on lets go of the lock as
// soon as it gets it and ends. On success folder is the locked descriptor.
TSettingsUpdate LockFolder(TFd& folder)
{
    if (FlockRetried(folder.Get(), LOCK_EX | LOCK_NB))
        return suDone;
    if (errno != EWOULDBLOCK)
        return suFailed;
    TFd own(openat(folder.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!own.Valid())
        return suFailed;
    auto wait = std::make_shared<TLockWait>();
    try {
        std::thread([wait, own = std::move(own)]() mutable {
            const bool locked = FlockRetried(own.Get(), LOCK_EX);
            std::lock_guard guard(wait->Lock);
            // Given up on: own goes with the thread, and the lock with it.
            if (locked && !wait->Abandoned)
                wait->Locked = own.Release();
            wait->Finished = true;
            wait->Settled.notify_one();
        }).detach();
    } catch (const std::system_error&) {
        return suFailed;
    }
    std::unique_lock guard(wait->Lock);
    if (!wait->Settled.wait_for(guard, SettingsLockWait, [&] { return wait->Finished; })) {
        wait->Abandoned = true;
        return suBusy;
    }
    if (wait->Locked < 0)
        return suFailed;
    folder.Reset(wait->Locked);
    return suDone;
}

// Read-only: no write bit at all (the read-only attribute, which holds even
// for the superuser), or none that lets us write.
bool IsReadOnly(int folder, const std::string& name, const struct stat& status)
{
    if ((status.st_mode & 0222) == 0)
        return true;
    return faccessat(folder, name.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT;
}

// The part of name a temporary name carries: all of it, or as much as keeps
// the temporary name within the folder's limit of a name's length.
std::string TempStem(int folder, const std::string& name)
{
    long limit = fpathconf(folder, _PC_NAME_MAX);
    if (limit <= 0)
        limit = NAME_MAX;
    const std::size_t room =
        static_cast<std::size_t>(limit) > TempNameExtra ? static_cast<std::size_t>(limit) - TempNameExtra : 1;
    return name.substr(0, room);
}

// The stem of a name of our temporary naming, or nothing.
std::optional<std::string_view> StemOfTemp(std::string_view name)
{
    if (name.size() <= 1 + TempEnding.size() || name.front() != '.' ||
        name.substr(name.size() - TempEnding.size()) != TempEnding)
        return std::nullopt;
    name = name.substr(1, name.size() - 1 - TempEnding.size());
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return std::nullopt;
    const std::string_view number = name.substr(dot + 1);
    if (number.empty() || number.size() > TempNumberDigits ||
        number.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return name.substr(0, dot);
}

// Removes the temporary files dead writers left in the folder: regular files
// of our naming, this file's at once, another file's once they are old.
// Called under the folder's lock, when no writer of ours is at work there.
void RemoveStaleTemps(int folder, const std::string& stem)
{
    TFd listing(openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!listing.Valid())
        return;
    DIR* entries = fdopendir(listing.Get());
    if (entries == nullptr)
        return;
    listing.Release(); // closedir closes it
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = readdir(entries)) {
        const std::string_view name = entry->d_name;
        const std::optional<std::string_view> tempStem = StemOfTemp(name);
        if (!tempStem)
            continue;
        struct stat status {};
        if (fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(status.st_mode))
            continue;
        if (*tempStem != stem && now - status.st_mtime < StaleTempAge)
            continue;
        unlinkat(folder, entry->d_name, 0);
    }
    closedir(entries);
}

// A fresh hidden name beside the file, made by us alone (O_EXCL).
int CreateTemp(int folder, const std::string& stem, std::string& tempName)
{
    thread_local std::mt19937_64 random{std::random_device{}() ^ static_cast<std::uint64_t>(getpid())};
    for (int attempt = 0; attempt < TempNameAttempts; ++attempt) {
        tempName = "." + stem + "." + std::to_string(random() % TempNumberLimit) + std::string(TempEnding);
        const int fd = openat(folder, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              NewFileMode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The new file's owner and mode: the old file's where there was one (the
// owner as far as we may: all of it as the superuser, else the group where we
// belong to it), else newMode. The owner goes first, as a change of owner may
// clear mode bits.
bool TakeOverOwnerAndMode(int temp, const struct stat* old, mode_t newMode)
{
    if (old == nullptr)
        return fchmod(temp, newMode) == 0;
    if (fchown(temp, old->st_uid, old->st_gid) != 0 && fchown(temp, static_cast<uid_t>(-1), old->st_gid) != 0) {
        // Neither is ours to give: the new file is ours, as any file we make.
    }
    return fchmod(temp, old->st_mode & KeptModeBits) == 0;
}

enum TReplaceEnd {
    reReplaced, // the new file has the name, and the rename is on disk
    reUnsynced, // the new file has the name; the folder could not be flushed
    reFailed    // the old file is as it was, and no temporary file is left
};

// old: the replaced file's status, nullptr when there is none. error: the
// errno of the step that failed.
TReplaceEnd Replace(int folder, const std::string& name, std::string_view text, const struct stat* old,
                    mode_t newMode, int& error)
{
    std::string tempName;
    TFd temp(CreateTemp(folder, TempStem(folder, name), tempName));
    if (!temp.Valid()) {
        error = errno;
        return reFailed;
    }
    const auto fail = [&] {
        error = errno;
        unlinkat(folder, tempName.c_str(), 0);
        return reFailed;
    };
    Step(awTempCreated);
    const std::size_t half = text.size() / 2;
    if (!WriteAll(temp.Get(), text.data(), half))
        return fail();
    Step(awHalfWritten);
    if (!WriteAll(temp.Get(), text.data() + half, text.size() - half))
        return fail();
    Step(awWritten);
    if (!TakeOverOwnerAndMode(temp.Get(), old, newMode) || SyncFd(temp.Get()) != 0 || !temp.Close())
        return fail();
    Step(awSynced);
    if (renameat(folder, tempName.c_str(), folder, name.c_str()) != 0)
        return fail();
    Step(awRenamed);
    // The new name is in place; a failed flush of the folder only means it
    // might not survive a power cut, and the old file is gone already.
    const bool synced = SyncFd(folder) == 0;
    Step(awFolderSynced);
    return synced ? reReplaced : reUnsynced;
}

} // namespace

TSettingsFileText ReadSettingsFile(const std::string& path)
{
    const TSplitPath split = SplitPath(path);
    if (!UsableName(split.Name))
        return {sfRefused, {}};
    TFd folder(open(split.Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.Valid())
        return {errno == ENOENT ? sfMissing : sfRefused, {}};
    return ReadAt(folder.Get(), split.Name).File;
}

TSettingsUpdate UpdateSettingsFile(
    const std::string& path, const std::function<std::optional<std::string>(const TSettingsFileText&)>& change)
{
    const TSplitPath split = SplitPath(path);
    if (!UsableName(split.Name))
        return suFailed;
    TFd folder(open(split.Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.Valid())
        return suFailed;
    if (const TSettingsUpdate locked = LockFolder(folder); locked != suDone)
        return locked;
    // The lock goes with the folder's descriptor, on every way out.
    Step(awLocked);
    const TReadFile current = ReadAt(folder.Get(), split.Name);
    const std::optional<std::string> replacement = change(current.File);
    if (!replacement)
        return suDone;
    // Whatever is in the file's place, we did not make it a symlink or a
    // folder: leave it alone.
    if (current.File.State == sfRefused)
        return suFailed;
    const bool exists = current.File.State == sfRead;
    if (exists && IsReadOnly(folder.Get(), split.Name, current.Status))
        return suReadOnly;
    // A file no reader would take is worse than the old one.
    if (replacement->size() > MaxSettingsFileSize)
        return suTooLarge;
    RemoveStaleTemps(folder.Get(), TempStem(folder.Get(), split.Name));
    int error = 0;
    return Replace(folder.Get(), split.Name, *replacement, exists ? &current.Status : nullptr, NewFileMode, error) ==
                   reReplaced
               ? suDone
               : suFailed;
}

int ReplaceFileAtomically(const std::string& path, std::string_view bytes, mode_t mode)
{
    const TSplitPath split = SplitPath(path);
    if (!UsableName(split.Name))
        return split.Name.find('\0') == std::string::npos ? EISDIR : EINVAL;
    TFd folder(open(split.Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.Valid())
        return errno;
    int error = 0;
    // A complete file whose rename a power cut might undo is still written.
    return Replace(folder.Get(), split.Name, bytes, nullptr, mode, error) == reFailed ? error : 0;
}

void SetAtomicWriteStepHook(void (*hook)(TAtomicWriteStep step))
{
    StepHook.store(hook);
}
