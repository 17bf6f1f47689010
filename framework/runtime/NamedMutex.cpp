#include "framework/runtime/NamedMutex.h"

#include "framework/runtime/ConfigFolders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace {

constexpr const char* FallbackFolderName = "named-locks";

// Closes the descriptor it holds unless released.
class TDescriptor {
public:
    TDescriptor() = default;
    explicit TDescriptor(int fd) : fd_(fd) {}
    ~TDescriptor()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    TDescriptor(TDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    TDescriptor& operator=(TDescriptor&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_ = -1;
};

struct TLockFolder {
    TDescriptor Descriptor;
    std::string Path;
};

bool IsAbsolute(const char* path)
{
    return path != nullptr && path[0] == '/';
}

bool OwnedByUser(const struct stat& status)
{
    return status.st_uid == geteuid();
}

// A folder opened without following a final symlink.
TDescriptor OpenFolderNoFollow(int parent, const char* path)
{
    return TDescriptor(openat(parent, path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// $XDG_RUNTIME_DIR, when it is the user's own folder that nobody else can enter.
TLockFolder RuntimeFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!IsAbsolute(runtime))
        return {};
    TDescriptor folder = OpenFolderNoFollow(AT_FDCWD, runtime);
    struct stat status {};
    if (!folder.Valid() || fstat(folder.Get(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        !OwnedByUser(status) || (status.st_mode & 0777) != 0700)
        return {};
    return {std::move(folder), runtime};
}

// The user's cache folder, made when missing; it must be the user's and closed
// to writers other than the user (never a shared, world-writable place).
TLockFolder CacheFolder()
{
    std::string path;
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); IsAbsolute(cache)) {
        path = cache;
    } else {
        const std::string home = HomeFolder();
        if (home.empty())
            return {};
        path = home + "/.cache";
    }
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    TDescriptor folder(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat status {};
    if (!folder.Valid() || fstat(folder.Get(), &status) != 0 || !OwnedByUser(status) ||
        (status.st_mode & 022) != 0)
        return {};
    return {std::move(folder), path};
}

// A private folder of our own inside the cache folder.
TLockFolder FallbackFolder()
{
    TLockFolder cache = CacheFolder();
    if (!cache.Descriptor.Valid())
        return {};
    if (mkdirat(cache.Descriptor.Get(), FallbackFolderName, 0700) != 0 && errno != EEXIST)
        return {};
    TDescriptor folder = OpenFolderNoFollow(cache.Descriptor.Get(), FallbackFolderName);
    struct stat status {};
    if (!folder.Valid() || fstat(folder.Get(), &status) != 0 || !OwnedByUser(status))
        return {};
    // Ours, but opened up by someone's umask or chmod: close it again.
    if ((status.st_mode & 0777) != 0700 && fchmod(folder.Get(), 0700) != 0)
        return {};
    return {std::move(folder), cache.Path + "/" + FallbackFolderName};
}

TLockFolder OpenLockFolder()
{
    TLockFolder folder = RuntimeFolder();
    if (folder.Descriptor.Valid())
        return folder;
    return FallbackFolder();
}

bool UsableName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// One byte's record lock on the open file description: it belongs to this
// opening alone (a second opening in the same process conflicts with it) and
// goes when the description is closed, by close or by the process's end.
bool SetLock(int fd, short type, bool wait)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    for (;;) {
        if (fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

} // namespace

std::string NamedLockFolder()
{
    return OpenLockFolder().Path;
}

std::unique_ptr<TNamedMutex> TNamedMutex::Create(const std::string& name)
{
    if (!UsableName(name))
        return nullptr;
    TLockFolder folder = OpenLockFolder();
    if (!folder.Descriptor.Valid())
        return nullptr;
    const std::string fileName = name + ".lock";
    // O_NONBLOCK: a FIFO put in the lock's place must not hang the program.
    TDescriptor file(openat(folder.Descriptor.Get(), fileName.c_str(),
                            O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600));
    struct stat status {};
    if (!file.Valid() || fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) || !OwnedByUser(status))
        return nullptr;

    // Every holder keeps a shared lock. Whoever can take the exclusive lock
    // first is alone, so the lock is new; then it turns that into a shared one
    // (a record lock changes type in one step, so no one slips in between).
    // Someone else's shared lock refuses the exclusive one: it existed already.
    bool alreadyExisted = false;
    if (!SetLock(file.Get(), F_WRLCK, false)) {
        if (errno != EAGAIN && errno != EACCES)
            return nullptr;
        alreadyExisted = true;
    }
    // Waits only while a newcomer briefly holds the exclusive lock.
    if (!SetLock(file.Get(), F_RDLCK, true))
        return nullptr;
    return std::unique_ptr<TNamedMutex>(
        new TNamedMutex(file.Release(), alreadyExisted, folder.Path + "/" + fileName));
}

TNamedMutex::TNamedMutex(int descriptor, bool alreadyExisted, std::string path)
    : descriptor_(descriptor), alreadyExisted_(alreadyExisted), path_(std::move(path))
{
}

TNamedMutex::~TNamedMutex()
{
    close(descriptor_);
}
