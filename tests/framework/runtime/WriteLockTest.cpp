// The folder's lock: a writer waits for it only a short while, so another
// program that keeps it can make a write fail but never freeze the caller;
// a lock let go within that while is waited for.
#include "TempFolders.h"

#include "framework/runtime/AtomicFile.h"
#include "framework/runtime/ProfileFiles.h"
#include "framework/runtime/RegistryStore.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Far above the writer's own wait, so only a writer that waits without end fails.
constexpr auto Patience = std::chrono::seconds(30);
// A program held longer than this looks hung to the person waiting for it (the
// window saves its place as it closes).
constexpr auto LongestFreeze = std::chrono::seconds(5);

// The folder's lock taken through a descriptor of our own, as another program
// takes it.
class THeldLock {
public:
    explicit THeldLock(const std::string& folder) : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        held_ = fd_ >= 0 && flock(fd_, LOCK_EX) == 0;
    }
    ~THeldLock() { Release(); }
    THeldLock(const THeldLock&) = delete;
    THeldLock& operator=(const THeldLock&) = delete;
    bool Held() const { return held_; }
    void Release()
    {
        if (fd_ >= 0)
            close(fd_);
        fd_ = -1;
        held_ = false;
    }

private:
    int fd_;
    bool held_ = false;
};

// Runs body in a child process and gives its exit code, or -1 when it has not
// ended within Patience (it is killed then).
int ExitCodeWithin(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    const auto deadline = Clock::now() + Patience;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
}

class WriteLock : public ::testing::Test {
protected:
    void SetUp() override
    {
        EmptyTestFolders();
        ASSERT_EQ(WritePrivateProfileString("S", "k", "old", File().c_str()), 1);
    }
    std::string File() const { return TestWindowsFolder() + "/app.INI"; }
};

TEST_F(WriteLock, ALockKeptByAnotherProgramFailsTheWriteInsteadOfWaitingForever)
{
    THeldLock lock(TestWindowsFolder());
    ASSERT_TRUE(lock.Held());
    const auto start = Clock::now();
    const int written =
        ExitCodeWithin([&] { return WritePrivateProfileString("S", "k", "new", File().c_str()) == 1 ? 1 : 0; });
    ASSERT_NE(written, -1) << "the write was still waiting after " << Patience.count() << " s";
    EXPECT_EQ(written, 0);
    EXPECT_GE(Clock::now() - start, SettingsLockWait) << "it waited its while first";
    EXPECT_LT(Clock::now() - start, LongestFreeze) << "and no longer";
    EXPECT_EQ(ReadWholeFile(File()), "[S]\nk=old\n");

    const int registry = ExitCodeWithin([] {
        const char data[] = "x";
        return RegSetValueEx(HKEY_CURRENT_USER, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), 2);
    });
    EXPECT_EQ(registry, ERROR_LOCK_VIOLATION);

    lock.Release();
    EXPECT_EQ(WritePrivateProfileString("S", "k", "new", File().c_str()), 1) << "and writes again once it is free";
    EXPECT_EQ(ReadWholeFile(File()), "[S]\nk=new\n");
}

TEST_F(WriteLock, ALockLetGoWithinTheWaitIsWaitedFor)
{
    THeldLock lock(TestWindowsFolder());
    ASSERT_TRUE(lock.Held());
    std::thread releaser([&] {
        std::this_thread::sleep_for(SettingsLockWait / 8);
        lock.Release();
    });
    EXPECT_EQ(WritePrivateProfileString("S", "k", "new", File().c_str()), 1);
    releaser.join();
    EXPECT_EQ(ReadWholeFile(File()), "[S]\nk=new\n");
}

} // namespace
