#include "tools/OutputFile.h"

#include "framework/runtime/AtomicFile.h"

#include <sys/stat.h>

#include <cstring>
#include <stdexcept>
#include <string_view>

namespace {

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
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (const int error = ReplaceFileAtomically(path, text, 0666 & ~CurrentUmask()); error != 0)
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(error));
}
