// A lock with a name, shared by the user's programs as a named mutex is: the
// first opener creates it, later openers learn that it existed already, and it
// goes when the last holder closes it or ends (also by a crash).
//
// It is an advisory lock on a file "<name>.lock" in a folder only the user
// can reach: $XDG_RUNTIME_DIR when that is the user's own folder with mode
// 0700 and not a symlink, otherwise "named-locks" in the user's cache folder
// ($XDG_CACHE_HOME, or ~/.cache), made with mode 0700. The file is opened
// without following a symlink and created with mode 0600.
#pragma once

#include <memory>
#include <string>

class TNamedMutex {
public:
    // Opens (creating when needed) the lock called name, a plain file name
    // (no '/', not "." or ".."). nullptr when no safe folder exists, the name
    // is unusable, or something other than our own regular file is in the way.
    static std::unique_ptr<TNamedMutex> Create(const std::string& name);
    ~TNamedMutex();
    TNamedMutex(const TNamedMutex&) = delete;
    TNamedMutex& operator=(const TNamedMutex&) = delete;

    // Another holder had the lock open when this one was created.
    bool AlreadyExisted() const { return alreadyExisted_; }
    // Where the lock file lives.
    const std::string& Path() const { return path_; }

private:
    TNamedMutex(int descriptor, bool alreadyExisted, std::string path);

    int descriptor_;
    bool alreadyExisted_;
    std::string path_;
};

// The folder named locks live in, made when missing; empty when there is no
// safe one.
std::string NamedLockFolder();
