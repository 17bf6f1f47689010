// The settings store when its files are not as they should be: a folder kept
// locked by another program fails the form's placement write in bounded time
// with the store's error, a damaged registry file is named with its line, and
// without any configuration folder writes fail instead of landing in '/'.
#include "StoredForms.h"
#include "services/ServicesModule.h"

#include "framework/controls/Application.h"
#include "framework/runtime/AtomicFile.h"
#include "framework/runtime/ConfigFolders.h"
#include "framework/runtime/SettingsErrors.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Far above the store's own wait for a lock.
constexpr unsigned HolderLifetimeSeconds = 30;

// Another program holding a folder's lock: a child process that takes it,
// says so, and keeps it until it is told to go or HolderLifetimeSeconds pass
// (so a writer that waits without end is not stuck forever either).
class TLockHolder {
public:
    explicit TLockHolder(const std::string& folder)
    {
        int toChild[2];
        int fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0)
            return;
        child_ = fork();
        if (child_ == 0) {
            close(toChild[1]);
            close(fromChild[0]);
            alarm(HolderLifetimeSeconds);
            const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
            const char locked = fd >= 0 && flock(fd, LOCK_EX) == 0 ? 'L' : 'F';
            if (write(fromChild[1], &locked, 1) != 1)
                _exit(1);
            char ignored;
            while (read(toChild[0], &ignored, 1) > 0) {
            }
            _exit(0);
        }
        close(toChild[0]);
        close(fromChild[1]);
        toChild_ = toChild[1];
        char reply = 0;
        held_ = read(fromChild[0], &reply, 1) == 1 && reply == 'L';
        close(fromChild[0]);
    }
    ~TLockHolder()
    {
        if (toChild_ >= 0)
            close(toChild_);
        if (child_ > 0)
            waitpid(child_, nullptr, 0);
    }
    TLockHolder(const TLockHolder&) = delete;
    TLockHolder& operator=(const TLockHolder&) = delete;
    bool Held() const { return held_; }

private:
    pid_t child_ = -1;
    int toChild_ = -1;
    bool held_ = false;
};

// A form with a profile-file store of its own and the form component.
class TStoredForm : public TFormWithStore {
public:
    explicit TStoredForm(const std::string& file) : TFormWithStore(file) { AddComponent(ioUseLink, "StoredForm"); }
};

// The store's own folder is the test's temporary one.
class StoreFaults : public StoredFormTest {
protected:
    void SetUp() override
    {
        StoredFormTest::SetUp();
        folder_ = Folder();
        OverrideConfigFolder(cfWindows, folder_);
    }
    void TearDown() override
    {
        OverrideConfigFolder(cfWindows, "");
        StoredFormTest::TearDown();
    }

    TServicesModule services_;
    std::string folder_;
};

TEST_F(StoreFaults, ALockedFolderFailsThePlacementWriteInBoundedTime)
{
    const std::string file = folder_ + "/placement.ini";
    std::ofstream(file) << "[Common]\nStoredForm=200,0,1,1,2,3,4\n";
    std::vector<std::string> reported;
    TExceptionEvent saved = Application->OnException;
    Application->OnException = [&](TObject*, const std::exception& e) { reported.push_back(e.what()); };
    Clock::duration took{};
    {
        auto form = std::make_unique<TStoredForm>(file);
        TLockHolder holder(folder_);
        ASSERT_TRUE(holder.Held());
        const auto start = Clock::now();
        form.reset(); // saves the placement on the way
        took = Clock::now() - start;
    }
    Application->OnException = saved;
    EXPECT_EQ(reported, (std::vector<std::string>{"Unable to write to " + file}));
    EXPECT_LT(took, std::chrono::seconds(HolderLifetimeSeconds)) << "it waited for the holder to go";
    EXPECT_EQ(ReadAll(file), "[Common]\nStoredForm=200,0,1,1,2,3,4\n");
}

TEST_F(StoreFaults, ALockedRegistryFailsTheWriteWithTheStoresError)
{
    TFxIniCtrl store(nullptr);
    store.WriteString("Common", "Form1", "200,0,1,1,2,3,4");
    TLockHolder holder(folder_);
    ASSERT_TRUE(holder.Held());
    const auto start = Clock::now();
    try {
        store.WriteString("Common", "Form1", "200,0,1,5,6,7,8");
        FAIL() << "no error";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Failed to set data for 'Form1'");
    }
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(HolderLifetimeSeconds));
}

TEST_F(StoreFaults, ADamagedRegistryFileIsNamedWithItsLine)
{
    const std::string file = folder_ + "/HKEY_CURRENT_USER.reg";
    const std::string damaged = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"v\"=\"unterminated\n";
    std::ofstream(file) << damaged;
    TFxIniCtrl store(nullptr);
    EXPECT_EQ(store.ReadString("Common", "Form1", "none"), "none");
    try {
        store.WriteString("Common", "Form1", "200,0,1,1,2,3,4");
        FAIL() << "no error";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Failed to create key Common (" + file + ", line 4: value data that cannot be read)");
    }
    EXPECT_EQ(ReadAll(file), damaged);
}

// Without a configuration folder (no home folder, no passwd entry) the file
// has no folder: reads give the default and writes fail, naming the file.
TEST_F(StoreFaults, WithoutAConfigurationFolderWritesFailAndNothingLandsInTheRoot)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only the superuser can run as a user the passwd file does not know";
    uid_t stranger = 43210;
    while (getpwuid(stranger) != nullptr)
        ++stranger;
    const pid_t child = fork();
    if (child == 0) {
        // Exit codes: which check failed.
        unsetenv("HOME");
        unsetenv("XDG_CONFIG_HOME");
        OverrideConfigFolder(cfWindows, "");
        if (setgid(stranger) != 0 || setuid(stranger) != 0)
            _exit(10);
        if (!ConfigFolder(cfWindows).empty())
            _exit(11);
        TFxIniCtrl store(nullptr);
        store.SetTarget(itIniFile);
        store.SetIniFile("Prefs");
        if (store.GetIniFileName() != "Prefs.INI")
            _exit(12);
        if (store.ReadString("Common", "Form1", "none") != "none")
            _exit(13);
        try {
            store.WriteString("Common", "Form1", "200,0,1,1,2,3,4");
            _exit(14);
        } catch (const EIniFileException& e) {
            if (e.Message() != "Unable to write to Prefs.INI")
                _exit(15);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(std::filesystem::exists("/Prefs.INI"));
}

} // namespace
