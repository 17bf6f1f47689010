// A file written whole or not at all: the bytes go to a temporary file in the
// same folder, are flushed to disk and take the file's name by a rename, so a
// reader never sees half a picture and a failed write leaves no debris and the
// old file (if any) as it was.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The new file gets the permissions a newly created file would (0666 less
// the umask). std::runtime_error "cannot write PATH: reason" on failure.
void WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);
