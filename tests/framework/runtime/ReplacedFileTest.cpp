// What a rewrite keeps and what it refuses: the old file's mode and owner, a
// file made read-only, files that would grow past what a reader takes, a disk
// that fills up mid-write, the temporary files of writers that died, and file
// names as long as the folder allows.
#include "TempFolders.h"

#include "framework/runtime/AtomicFile.h"
#include "framework/runtime/ProfileDocument.h"
#include "framework/runtime/ProfileFiles.h"
#include "framework/runtime/RegistryDocument.h"
#include "framework/runtime/RegistryStore.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Runs body in a child process; its exit code.
int ExitCodeOfChild(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// prefix followed by the number (built so that g++ 12 at -O3 sees no overlapping copy).
std::string Numbered(const char* prefix, int number)
{
    return std::string(prefix).append(std::to_string(number));
}

// The names in a folder, sorted.
std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ReplacedFile : public ::testing::Test {
protected:
    void SetUp() override { EmptyTestFolders(); }
    std::string Path(const std::string& name) const { return TestWindowsFolder() + "/" + name; }
    std::string RegistryFile() const { return Path("HKEY_CURRENT_USER.reg"); }
    static LONG SetBinary(const char* name, const std::string& bytes)
    {
        return RegSetValueEx(HKEY_CURRENT_USER, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size()));
    }
};

TEST_F(ReplacedFile, KeepsTheModeTheFileHad)
{
    const std::string file = Path("app.INI");
    for (mode_t mode : {0600, 0640, 0644, 0664, 0666, 0700, 0755}) {
        WriteWholeFile(file, "[S]\nk=old\n");
        ASSERT_EQ(chmod(file.c_str(), mode), 0);
        ASSERT_EQ(WritePrivateProfileString("S", "k", "new", file.c_str()), 1) << std::oct << mode;
        EXPECT_EQ(ModeOf(file), mode) << std::oct << mode;
        EXPECT_EQ(ReadWholeFile(file), "[S]\nk=new\n");
    }
    // The registry's file as well.
    WriteWholeFile(RegistryFile(), "REGEDIT4\n");
    ASSERT_EQ(chmod(RegistryFile().c_str(), 0644), 0);
    ASSERT_EQ(SetBinary("v", "x"), ERROR_SUCCESS);
    EXPECT_EQ(ModeOf(RegistryFile()), 0644u);
    // A new file is private.
    ASSERT_EQ(WritePrivateProfileString("S", "k", "v", Path("new.INI").c_str()), 1);
    EXPECT_EQ(ModeOf(Path("new.INI")), 0600u);
}

TEST_F(ReplacedFile, NeverCarriesSetIdBitsOver)
{
    const std::string file = Path("app.INI");
    WriteWholeFile(file, "[S]\nk=old\n");
    ASSERT_EQ(chmod(file.c_str(), 06755), 0);
    ASSERT_EQ(WritePrivateProfileString("S", "k", "new", file.c_str()), 1);
    EXPECT_EQ(ModeOf(file), 0755u);
}

TEST_F(ReplacedFile, KeepsTheOwnerTheFileHad)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give a file to another user and keep it so";
    // A user and a group no one has, as after sudo a user's own file.
    constexpr uid_t OtherUser = 4321;
    constexpr gid_t OtherGroup = 4322;
    const std::string file = Path("app.INI");
    WriteWholeFile(file, "[S]\nk=old\n");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    ASSERT_EQ(chown(file.c_str(), OtherUser, OtherGroup), 0);
    ASSERT_EQ(WritePrivateProfileString("S", "k", "new", file.c_str()), 1);
    struct stat status {};
    ASSERT_EQ(stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, OtherUser);
    EXPECT_EQ(status.st_gid, OtherGroup);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadWholeFile(file), "[S]\nk=new\n");

}

TEST_F(ReplacedFile, RefusesAFileMadeReadOnlyAndLeavesItAsItWas)
{
    const std::string file = Path("app.INI");
    for (mode_t mode : {0444, 0400, 0555}) {
        WriteWholeFile(file, "[S]\nk=old\n");
        ASSERT_EQ(chmod(file.c_str(), mode), 0);
        EXPECT_EQ(WritePrivateProfileString("S", "k", "new", file.c_str()), 0) << std::oct << mode;
        EXPECT_EQ(WritePrivateProfileString("S", "k", nullptr, file.c_str()), 0) << std::oct << mode;
        EXPECT_EQ(WritePrivateProfileString("S", nullptr, nullptr, file.c_str()), 0) << std::oct << mode;
        EXPECT_EQ(ReadWholeFile(file), "[S]\nk=old\n") << std::oct << mode;
        EXPECT_EQ(ModeOf(file), mode);
        chmod(file.c_str(), 0600);
    }
    WriteWholeFile(RegistryFile(), "REGEDIT4\n");
    ASSERT_EQ(chmod(RegistryFile().c_str(), 0444), 0);
    EXPECT_EQ(SetBinary("v", "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadWholeFile(RegistryFile()), "REGEDIT4\n");
}

TEST_F(ReplacedFile, AProfileFileNeverGrowsPastWhatAReaderTakes)
{
    // 139 values of 60 KB: as large as a reader takes, less one more such value.
    const std::string file = Path("big.INI");
    const std::string value(60000, 'v');
    std::string text = "[S]\n";
    for (int i = 0; i < 139; ++i)
        text.append(Numbered("k", i)).append("=").append(value).append("\n");
    ASSERT_LE(text.size(), MaxSettingsFileSize);
    ASSERT_GT(text.size() + value.size() + 7, MaxSettingsFileSize);
    WriteWholeFile(file, text);

    EXPECT_EQ(WritePrivateProfileString("S", "k139", value.c_str(), file.c_str()), 0);
    EXPECT_EQ(WritePrivateProfileString("New section", "k", value.c_str(), file.c_str()), 0);
    EXPECT_EQ(ReadWholeFile(file), text) << "the refused writes changed nothing";
    char buffer[8] = {};
    EXPECT_EQ(GetPrivateProfileString("S", "k0", "", buffer, sizeof buffer, file.c_str()), 7u) << "still readable";
    EXPECT_EQ(WritePrivateProfileString("S", "k0", "short", file.c_str()), 1) << "a write that fits still goes";
    EXPECT_EQ(WritePrivateProfileString("S", "k139", value.c_str(), file.c_str()), 1) << "now there is room";
}

TEST_F(ReplacedFile, TheRegistryNeverGrowsPastWhatAReaderTakes)
{
    // The largest values a key takes, until the file would be too large.
    const std::string big(MaxRegistryValueSize, '\x5a');
    LONG status = ERROR_SUCCESS;
    int written = 0;
    while ((status = SetBinary(Numbered("v", written).c_str(), big)) == ERROR_SUCCESS)
        ++written;
    EXPECT_EQ(status, ERROR_NOT_ENOUGH_QUOTA);
    EXPECT_GE(written, 8);
    const std::string full = ReadWholeFile(RegistryFile());
    EXPECT_LE(full.size(), MaxSettingsFileSize);
    EXPECT_TRUE(TRegistryDocument::Parse(full, "HKEY_CURRENT_USER")) << "still readable";
    EXPECT_EQ(SetBinary(Numbered("v", written).c_str(), big), ERROR_NOT_ENOUGH_QUOTA);
    EXPECT_EQ(ReadWholeFile(RegistryFile()), full);
    EXPECT_EQ(SetBinary("small", "x"), ERROR_SUCCESS) << "a write that fits still goes";
}

TEST_F(ReplacedFile, KeyPathsStayWithinWhatAReaderTakes)
{
    const std::string part(255, 'p');
    auto path = [&](int depth) {
        std::string joined = part;
        for (int i = 1; i < depth; ++i)
            joined += "\\" + part;
        return joined;
    };
    HKEY key = nullptr;
    for (int depth : {513, 5000}) {
        EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path(depth).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                 nullptr),
                  ERROR_BAD_PATHNAME)
            << depth;
    }
    EXPECT_FALSE(FileExists(RegistryFile())) << "nothing written";
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path(512).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                             nullptr),
              ERROR_SUCCESS);
    const char data[] = "deep";
    EXPECT_EQ(RegSetValueEx(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof data), ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, path(512).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS)
        << "the deepest key reads back";
    RegCloseKey(key);
    // Below an opened key the whole path counts.
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, path(500).c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    HKEY deeper = nullptr;
    EXPECT_EQ(RegCreateKeyEx(key, path(13).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &deeper, nullptr),
              ERROR_BAD_PATHNAME);
    RegCloseKey(key);
}

TEST_F(ReplacedFile, ADiskThatFillsUpMidWriteLeavesTheOldFileWhole)
{
    const std::string file = Path("app.INI");
    const std::string oldText = "; kept\n[S]\nk=old\n";
    WriteWholeFile(file, oldText);
    WriteWholeFile(RegistryFile(), "REGEDIT4\n\n[HKEY_CURRENT_USER]\n\"v\"=\"old\"\n");
    const std::string oldRegistry = ReadWholeFile(RegistryFile());
    // No file of this process may grow past 4 KB: the writer sees the disk full.
    auto withSmallDisk = [](const std::function<int()>& write) {
        return ExitCodeOfChild([&] {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{4096, 4096};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return 99;
            return write();
        });
    };
    const std::string value(30000, 'n');
    EXPECT_EQ(withSmallDisk([&] { return WritePrivateProfileString("S", "k", value.c_str(), file.c_str()); }), 0);
    EXPECT_EQ(withSmallDisk([&] {
                  return static_cast<int>(RegSetValueEx(HKEY_CURRENT_USER, "v", 0, REG_SZ,
                                                        reinterpret_cast<const BYTE*>(value.c_str()),
                                                        static_cast<DWORD>(value.size() + 1)));
              }),
              ERROR_WRITE_FAULT);
    EXPECT_EQ(ReadWholeFile(file), oldText);
    EXPECT_EQ(ReadWholeFile(RegistryFile()), oldRegistry);
    EXPECT_EQ(FolderNames(TestWindowsFolder()), (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "app.INI"}))
        << "no temporary file left";
    EXPECT_EQ(WritePrivateProfileString("S", "k", value.c_str(), file.c_str()), 1) << "with room it goes";
}

TEST_F(ReplacedFile, TemporaryFilesOfDeadWritersGoAtTheNextWriteAndNothingElseDoes)
{
    const std::string file = Path("app.INI");
    WriteWholeFile(file, "[S]\nk=old\n");
    const std::string folder = TestWindowsFolder();
    // Ours: left by writers that died, of this file and of another one.
    const std::vector<std::string> stale = {".app.INI.123456789.tmp", ".app.INI.7.tmp", ".other.INI.42.tmp"};
    // Not ours, or not stale: these stay.
    const std::vector<std::string> kept = {
        ".app.INI.12a.tmp",       // not a number
        ".app.INI..tmp",          // no number
        ".app.INI.1234567890.tmp", // a longer number than ours
        "app.INI.5.tmp",          // not hidden
        ".app.INI.5.tmp.bak",     // another ending
        ".app.INI.5.TMP",         // another ending
        ".fresh.INI.9.tmp",       // another file's, written just now: maybe another program's at work
    };
    for (const std::string& name : stale)
        WriteWholeFile(folder + "/" + name, "half");
    for (const std::string& name : kept)
        WriteWholeFile(folder + "/" + name, "someone's");
    // Another file's leftover is taken for stale only once it has lain a while.
    const timespec hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (folder + "/.other.INI.42.tmp").c_str(), hourAgo, 0), 0);
    // What only looks like one: a folder and a symlink.
    fs::create_directory(folder + "/.app.INI.77.tmp");
    ASSERT_EQ(symlink("app.INI", (folder + "/.app.INI.78.tmp").c_str()), 0);

    ASSERT_EQ(WritePrivateProfileString("S", "k", "new", file.c_str()), 1);
    std::vector<std::string> expected = kept;
    expected.insert(expected.end(), {"app.INI", ".app.INI.77.tmp", ".app.INI.78.tmp"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderNames(folder), expected);
    for (const std::string& name : kept)
        EXPECT_EQ(ReadWholeFile(folder + "/" + name), "someone's") << name;
}

TEST_F(ReplacedFile, WhatIsNoPlainFileInTheFilesPlaceIsNeverReadNorReplaced)
{
    WriteWholeFile(Path("target"), "kept");
    // A FIFO, which a reader must not wait on and a writer must not replace.
    const std::string fifo = Path("pipe.INI");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    char buffer[16] = {};
    EXPECT_EQ(GetPrivateProfileString("S", "k", "none", buffer, sizeof buffer, fifo.c_str()), 4u);
    EXPECT_EQ(WritePrivateProfileString("S", "k", "v", fifo.c_str()), 0);
    struct stat status {};
    ASSERT_EQ(lstat(fifo.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    // A symlink, even when the change offers a text for whatever it found.
    const std::string link = Path("link.INI");
    ASSERT_EQ(symlink("target", link.c_str()), 0);
    EXPECT_EQ(UpdateSettingsFile(link, [](const TSettingsFileText&) { return std::optional<std::string>("x"); }),
              suFailed);
    ASSERT_EQ(lstat(link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    EXPECT_EQ(ReadWholeFile(Path("target")), "kept");
}

TEST_F(ReplacedFile, AWriterKilledMidWriteLeavesNothingAfterTheNextWrite)
{
    // The longest name the folder allows, so the temporary name is cut too.
    const long nameMax = pathconf(TestSystemFolder().c_str(), _PC_NAME_MAX);
    ASSERT_GT(nameMax, 20);
    const std::string longest = std::string(static_cast<std::size_t>(nameMax) - 4, 'n') + ".INI";
    for (const std::string& name : {std::string("app.INI"), longest}) {
        EmptyTestFolders();
        const std::string file = Path(name);
        ASSERT_EQ(WritePrivateProfileString("S", "k", "old", file.c_str()), 1) << name.size();
        const pid_t child = fork();
        if (child == 0) {
            SetAtomicWriteStepHook([](TAtomicWriteStep step) {
                if (step == awHalfWritten)
                    raise(SIGKILL);
            });
            WritePrivateProfileString("S", "k", std::string(5000, 'n').c_str(), file.c_str());
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(FolderNames(TestWindowsFolder()).size(), 2u) << "the dead writer's temporary file";
        ASSERT_EQ(WritePrivateProfileString("S", "k", "new", file.c_str()), 1);
        EXPECT_EQ(FolderNames(TestWindowsFolder()), std::vector<std::string>{name});
        EXPECT_EQ(ReadWholeFile(file), "[S]\nk=new\n");
    }
}

TEST_F(ReplacedFile, NamesAsLongAsTheFolderAllowsAreWritten)
{
    const long nameMax = pathconf(TestSystemFolder().c_str(), _PC_NAME_MAX);
    ASSERT_GT(nameMax, 20);
    for (std::size_t length : {std::size_t(nameMax) - 15, std::size_t(nameMax) - 14, std::size_t(nameMax)}) {
        const std::string name = std::string(length - 4, 'l') + ".INI";
        ASSERT_EQ(WritePrivateProfileString("S", "k", "v", Path(name).c_str()), 1) << length;
        ASSERT_EQ(WritePrivateProfileString("S", "k", "w", Path(name).c_str()), 1) << length;
        EXPECT_EQ(ReadWholeFile(Path(name)), "[S]\nk=w\n") << length;
    }
    // Two long names alike up to where their temporary names are cut.
    const std::string shared(static_cast<std::size_t>(nameMax) - 8, 's');
    ASSERT_EQ(WritePrivateProfileString("S", "k", "a", Path(shared + "a.INI").c_str()), 1);
    ASSERT_EQ(WritePrivateProfileString("S", "k", "b", Path(shared + "b.INI").c_str()), 1);
    EXPECT_EQ(ReadWholeFile(Path(shared + "a.INI")), "[S]\nk=a\n");
    EXPECT_EQ(ReadWholeFile(Path(shared + "b.INI")), "[S]\nk=b\n");
}

} // namespace
