// Writes are whole or not at all: a writer that dies at any step of a write
// leaves the old file or the new one, and two programs writing at once both
// keep their values.
#include "TempFolders.h"

#include "framework/runtime/AtomicFile.h"
#include "framework/runtime/ProfileDocument.h"
#include "framework/runtime/ProfileFiles.h"
#include "framework/runtime/RegistryDocument.h"
#include "framework/runtime/RegistryStore.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

namespace {

TAtomicWriteStep DieAt = awLocked;

void DieAtStep(TAtomicWriteStep step)
{
    if (step == DieAt)
        raise(SIGKILL);
}

// Runs body in a child process and waits for it; the child's exit status.
int InChild(const std::function<void()>& body)
{
    const pid_t child = fork();
    if (child == 0) {
        body();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

class AtomicWrites : public ::testing::Test {
protected:
    void SetUp() override { EmptyTestFolders(); }
};

TEST_F(AtomicWrites, AWriterKilledAtEveryStepLeavesTheOldFileOrTheNewOneWhole)
{
    const std::string file = TestWindowsFolder() + "/app.INI";
    const std::string oldText = "; kept\n[S]\nk=old\n";
    const std::string newValue(5000, 'n'); // big enough to be written in more than one piece
    const TAtomicWriteStep steps[] = {awLocked, awTempCreated, awHalfWritten, awWritten,
                                      awSynced, awRenamed, awFolderSynced};
    for (TAtomicWriteStep step : steps) {
        WriteWholeFile(file, oldText);
        DieAt = step;
        const int status = InChild([&] {
            SetAtomicWriteStepHook(DieAtStep);
            WritePrivateProfileString("S", "k", newValue.c_str(), file.c_str());
        });
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "step " << step;
        const std::string text = ReadWholeFile(file);
        const bool renamed = step >= awRenamed;
        EXPECT_EQ(text, renamed ? "; kept\n[S]\nk=" + newValue + "\n" : oldText) << "step " << step;
        // The next writer is not held up by the dead one's lock.
        ASSERT_EQ(WritePrivateProfileString("S", "other", "after", file.c_str()), 1) << "step " << step;
        auto document = TProfileDocument::Parse(ReadWholeFile(file));
        ASSERT_TRUE(document);
        EXPECT_EQ(document->Value("S", "other"), "after");
        EXPECT_EQ(document->Value("S", "k"), renamed ? newValue : "old");
    }
}

TEST_F(AtomicWrites, TwoProgramsWritingDifferentKeysAThousandTimesBothKeepTheirValues)
{
    constexpr int Writes = 1000;
    const std::string file = TestWindowsFolder() + "/shared.INI";
    ASSERT_EQ(WritePrivateProfileString("S", "seed", "1", file.c_str()), 1);
    auto writer = [&](const char* key) {
        return [=] {
            for (int i = 1; i <= Writes; ++i)
                if (WritePrivateProfileString("S", key, std::to_string(i).c_str(), file.c_str()) == 0)
                    _exit(1);
        };
    };
    const pid_t a = fork();
    if (a == 0) {
        writer("a")();
        _exit(0);
    }
    const int statusB = InChild(writer("b"));
    int statusA = 0;
    waitpid(a, &statusA, 0);
    ASSERT_TRUE(WIFEXITED(statusA) && WEXITSTATUS(statusA) == 0);
    ASSERT_TRUE(WIFEXITED(statusB) && WEXITSTATUS(statusB) == 0);
    auto document = TProfileDocument::Parse(ReadWholeFile(file));
    ASSERT_TRUE(document);
    EXPECT_EQ(document->Value("S", "a"), std::to_string(Writes));
    EXPECT_EQ(document->Value("S", "b"), std::to_string(Writes));
    EXPECT_EQ(document->Value("S", "seed"), "1");
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(TestWindowsFolder()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(AtomicWrites, TwoProgramsWritingTheRegistryBothKeepTheirValues)
{
    constexpr int Writes = 300;
    auto writer = [](const char* name) {
        return [=] {
            HKEY key = nullptr;
            if (RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Race", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                               nullptr) != ERROR_SUCCESS)
                _exit(1);
            for (DWORD i = 1; i <= Writes; ++i)
                if (RegSetValueEx(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&i), 4) != ERROR_SUCCESS)
                    _exit(1);
            RegCloseKey(key);
        };
    };
    const pid_t a = fork();
    if (a == 0) {
        writer("a")();
        _exit(0);
    }
    const int statusB = InChild(writer("b"));
    int statusA = 0;
    waitpid(a, &statusA, 0);
    ASSERT_TRUE(WIFEXITED(statusA) && WEXITSTATUS(statusA) == 0);
    ASSERT_TRUE(WIFEXITED(statusB) && WEXITSTATUS(statusB) == 0);
    auto document =
        TRegistryDocument::Parse(ReadWholeFile(TestWindowsFolder() + "/HKEY_CURRENT_USER.reg"), "HKEY_CURRENT_USER");
    ASSERT_TRUE(document);
    const std::string last("\x2c\x01\0\0", 4); // 300
    ASSERT_NE(document->FindValue("Software\\Race", "a"), nullptr);
    ASSERT_NE(document->FindValue("Software\\Race", "b"), nullptr);
    EXPECT_EQ(document->FindValue("Software\\Race", "a")->Data, last);
    EXPECT_EQ(document->FindValue("Software\\Race", "b")->Data, last);
}

// A program's output file goes through the same temporary file, without the
// settings' lock: old or new whole at every step, and the mode it is given
// even where it replaces a file of another mode.
TEST_F(AtomicWrites, AnOutputFileIsOldOrNewWholeAtEveryStepAndTakesTheGivenMode)
{
    const std::string file = TestWindowsFolder() + "/map.png";
    const std::string newText(5000, 'n');
    const TAtomicWriteStep steps[] = {awTempCreated, awHalfWritten, awWritten, awSynced, awRenamed, awFolderSynced};
    for (TAtomicWriteStep step : steps) {
        WriteWholeFile(file, "old");
        DieAt = step;
        const int status = InChild([&] {
            SetAtomicWriteStepHook(DieAtStep);
            ReplaceFileAtomically(file, newText, 0644);
        });
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "step " << step;
        EXPECT_EQ(ReadWholeFile(file), step >= awRenamed ? newText : "old") << "step " << step;
    }
    EmptyTestFolders();
    WriteWholeFile(file, "old");
    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    ASSERT_EQ(ReplaceFileAtomically(file, newText, 0644), 0);
    EXPECT_EQ(ReadWholeFile(file), newText);
    EXPECT_EQ(ModeOf(file), 0644u);

    // A failed write names its reason and leaves the folder as it was.
    const std::pair<std::string, int> refused[] = {
        {TestWindowsFolder() + "/missing/map.png", ENOENT},
        {file + "/map.png", ENOTDIR},
        {TestWindowsFolder(), EISDIR},
        {TestWindowsFolder() + "/", EISDIR},
    };
    for (const auto& [path, error] : refused)
        EXPECT_EQ(ReplaceFileAtomically(path, newText, 0644), error) << path;
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(TestWindowsFolder()))
        ++files;
    EXPECT_EQ(files, 1);
}

} // namespace
