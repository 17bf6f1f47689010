#include "tools/OutputFile.h"

#include "framework/runtime/ScopeExit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

[[noreturn]] void Fail(const std::string& path, int error)
{
    throw std::runtime_error("cannot write " + path + ": " + std::strerror(error));
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size)
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

// The process's umask. Reading it means setting it, so it is put back at once;
// the program makes no files on other threads meanwhile.
mode_t CurrentUmask()
{
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

} // namespace

void WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
        Fail(path, EISDIR);

    std::string temporary = folder + "/." + name + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        Fail(path, errno);
    bool fdOpen = true, renamed = false;
    TScopeExit cleanUp([&] {
        if (fdOpen)
            close(fd);
        if (!renamed)
            unlink(temporary.c_str());
    });
    if (!WriteAll(fd, bytes.data(), bytes.size()) || fchmod(fd, 0666 & ~CurrentUmask()) != 0 || fsync(fd) != 0)
        Fail(path, errno);
    fdOpen = false;
    if (close(fd) != 0)
        Fail(path, errno);
    if (rename(temporary.c_str(), path.c_str()) != 0)
        Fail(path, errno);
    renamed = true;
    // The rename itself reaches the disk with the folder; a failure here
    // leaves a complete file, so it is not reported.
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
}
