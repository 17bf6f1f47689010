#include "framework/runtime/AtomicFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <random>
#include <utility>

namespace {

constexpr int TempNameAttempts = 100;

std::atomic<void (*)(TAtomicWriteStep)> StepHook{nullptr};

void Step(TAtomicWriteStep step)
{
    if (auto hook = StepHook.load())
        hook(step);
}

class TFd {
public:
    explicit TFd(int fd = -1) : fd_(fd) {}
    ~TFd()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close went well (a late write error
    // shows up here).
    bool Close()
    {
        const int fd = std::exchange(fd_, -1);
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

TSettingsFileText ReadAt(int folder, const std::string& name)
{
    // O_NONBLOCK: a FIFO in the file's place must not hang the program.
    TFd file(openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file.Valid())
        return {errno == ENOENT ? sfMissing : sfRefused, {}};
    struct stat status {};
    if (fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::size_t>(status.st_size) > MaxSettingsFileSize)
        return {sfRefused, {}};
    std::string text;
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(file.Get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return {sfRefused, {}};
        }
        if (got == 0)
            break;
        text.append(chunk, static_cast<std::size_t>(got));
        // The file grew while we read it.
        if (text.size() > MaxSettingsFileSize)
            return {sfRefused, {}};
    }
    return {sfRead, std::move(text)};
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

// Waits for the folder's lock. A blocked waiter is woken the moment the
// holder lets go; polling instead would starve while another program writes
// in a tight loop, since the lock is free only for an instant between its
// writes. Holders keep it only for one read-change-write.
bool LockFolder(int folder)
{
    for (;;) {
        if (flock(folder, LOCK_EX) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

// A fresh hidden name beside the file, made by us alone (O_EXCL).
int CreateTemp(int folder, const std::string& name, std::string& tempName)
{
    thread_local std::mt19937_64 random{std::random_device{}() ^ static_cast<std::uint64_t>(getpid())};
    for (int attempt = 0; attempt < TempNameAttempts; ++attempt) {
        tempName = "." + name + "." + std::to_string(random() % 1000000000u) + ".tmp";
        const int fd = openat(folder, tempName.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool Replace(int folder, const std::string& name, const std::string& text)
{
    std::string tempName;
    TFd temp(CreateTemp(folder, name, tempName));
    if (!temp.Valid())
        return false;
    Step(awTempCreated);
    const std::size_t half = text.size() / 2;
    bool ok = WriteAll(temp.Get(), text.data(), half);
    if (ok)
        Step(awHalfWritten);
    ok = ok && WriteAll(temp.Get(), text.data() + half, text.size() - half);
    if (ok)
        Step(awWritten);
    // A umask may have narrowed the mode further; never wider than 0600.
    ok = ok && fchmod(temp.Get(), 0600) == 0;
    ok = ok && SyncFd(temp.Get()) == 0;
    ok = temp.Close() && ok;
    if (ok)
        Step(awSynced);
    ok = ok && renameat(folder, tempName.c_str(), folder, name.c_str()) == 0;
    if (!ok) {
        unlinkat(folder, tempName.c_str(), 0);
        return false;
    }
    Step(awRenamed);
    // The new name is in place; a failed flush of the folder only means it
    // might not survive a power cut, and the old file is gone already.
    const bool synced = SyncFd(folder) == 0;
    Step(awFolderSynced);
    return synced;
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
    return ReadAt(folder.Get(), split.Name);
}

bool UpdateSettingsFile(const std::string& path,
                        const std::function<std::optional<std::string>(const TSettingsFileText&)>& change)
{
    const TSplitPath split = SplitPath(path);
    if (!UsableName(split.Name))
        return false;
    TFd folder(open(split.Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.Valid() || !LockFolder(folder.Get()))
        return false;
    // The lock goes with the folder's descriptor, on every way out.
    Step(awLocked);
    const TSettingsFileText current = ReadAt(folder.Get(), split.Name);
    const std::optional<std::string> replacement = change(current);
    if (!replacement)
        return true;
    // Whatever is in the file's place, we did not make it a symlink or a
    // folder: leave it alone.
    if (current.State == sfRefused)
        return false;
    return Replace(folder.Get(), split.Name, *replacement);
}

void SetAtomicWriteStepHook(void (*hook)(TAtomicWriteStep step))
{
    StepHook.store(hook);
}
