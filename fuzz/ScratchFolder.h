// A private folder for fuzz targets that go through the real file calls:
// made once per process on a memory file system when there is one (so a
// write's flush to disk costs nothing), removed when the process ends, and
// made the store's Windows folder.
#pragma once

#include "framework/runtime/ConfigFolders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

inline const std::string& ScratchFolder()
{
    // Never destroyed, so the removal at exit can still read it.
    static const std::string* const folder = [] {
        auto* made = new std::string;
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string pattern = std::string(base) + "/dc-fuzz.XXXXXX";
            if (mkdtemp(pattern.data()) != nullptr) {
                *made = pattern;
                break;
            }
        }
        if (made->empty())
            std::abort();
        OverrideConfigFolder(cfWindows, *made);
        std::atexit([] { std::filesystem::remove_all(ScratchFolder()); });
        return made;
    }();
    return *folder;
}
