// The named lock across real processes, in the runtime folder and without
// one, through a crash, and against a symlink planted in its place.
#include "framework/runtime/NamedMutex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace {

// A named_lock_probe process; it ends when released (or killed).
class TProbeProcess {
public:
    TProbeProcess(const QStringList& arguments, const QProcessEnvironment& environment)
    {
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(NAMED_LOCK_PROBE, arguments);
    }
    ~TProbeProcess() { Release(); }

    // The probe's report line.
    std::string Report()
    {
        if (!report_) {
            while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
            }
            report_ = process_.readLine().trimmed().toStdString();
        }
        return *report_;
    }
    // The first word of the report ("new", "exists", "failed", "prev").
    std::string Verdict() { return Report().substr(0, Report().find(' ')); }

    void Release()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.closeWriteChannel();
        process_.waitForFinished(10000);
    }
    void Crash()
    {
        process_.kill();
        process_.waitForFinished(10000);
    }

private:
    QProcess process_;
    std::optional<std::string> report_;
};

// Sets or unsets an environment variable for a scope (tests run one to a process under CTest).
class TEnvScope {
public:
    TEnvScope(const char* name, const std::optional<std::string>& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            saved_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~TEnvScope()
    {
        if (saved_)
            setenv(name_, saved_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> saved_;
};

int ModeOf(const QString& path)
{
    struct stat status {};
    if (lstat(path.toLocal8Bit().constData(), &status) != 0)
        return -1;
    return static_cast<int>(status.st_mode & 07777);
}

class NamedLock : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(runtime.isValid());
        ASSERT_TRUE(home.isValid());
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", runtime.path());
        environment.insert("HOME", home.path());
        environment.remove("XDG_CACHE_HOME");
    }
    QStringList Lock() const { return {"lock", QString::fromStdString(name)}; }

    QTemporaryDir runtime; // mode 0700, the user's own
    QTemporaryDir home;
    QProcessEnvironment environment;
    std::string name = "dc-named-lock-test";
};

TEST_F(NamedLock, ASecondProcessFindsItUntilTheFirstEnds)
{
    TProbeProcess first(Lock(), environment);
    EXPECT_EQ(first.Report(), "new " + runtime.path().toStdString() + "/" + name + ".lock");
    {
        TProbeProcess second(Lock(), environment);
        EXPECT_EQ(second.Verdict(), "exists");
    }
    first.Release();
    TProbeProcess third(Lock(), environment);
    EXPECT_EQ(third.Verdict(), "new");
    EXPECT_EQ(ModeOf(runtime.filePath(QString::fromStdString(name) + ".lock")), 0600);
}

TEST_F(NamedLock, ACrashedHolderLeavesNoLockBehind)
{
    TProbeProcess first(Lock(), environment);
    ASSERT_EQ(first.Verdict(), "new");
    first.Crash();
    TProbeProcess second(Lock(), environment);
    EXPECT_EQ(second.Verdict(), "new");
}

TEST_F(NamedLock, TheServicesOfASecondCopyReportAPreviousInstance)
{
    TProbeProcess first({"services"}, environment);
    EXPECT_EQ(first.Report(), "prev 0");
    TProbeProcess second({"services"}, environment);
    EXPECT_EQ(second.Report(), "prev 1");
    second.Release();
    first.Release();
    TProbeProcess third({"services"}, environment);
    EXPECT_EQ(third.Report(), "prev 0");
}

TEST_F(NamedLock, WithoutARuntimeFolderAPrivateCacheFolderServes)
{
    environment.remove("XDG_RUNTIME_DIR");
    TProbeProcess first(Lock(), environment);
    const QString folder = home.filePath(".cache/named-locks");
    EXPECT_EQ(first.Report(), "new " + folder.toStdString() + "/" + name + ".lock");
    EXPECT_EQ(ModeOf(folder), 0700);
    TProbeProcess second(Lock(), environment);
    EXPECT_EQ(second.Verdict(), "exists");
}

TEST_F(NamedLock, AnUnsafeRuntimeFolderIsPassedOver)
{
    // Open to others, or a symlink to the user's own folder: neither is used.
    ASSERT_EQ(chmod(home.path().toLocal8Bit().constData(), 0700), 0);
    QTemporaryDir shared;
    ASSERT_EQ(chmod(shared.path().toLocal8Bit().constData(), 0755), 0);
    const QString link = home.filePath("runtime-link");
    ASSERT_TRUE(QFile::link(runtime.path(), link));
    const std::string fallback = home.filePath(".cache/named-locks").toStdString();

    TEnvScope homeScope("HOME", home.path().toStdString());
    TEnvScope cacheScope("XDG_CACHE_HOME", std::nullopt);
    for (const QString& unsafe : {shared.path(), link, QString("relative/run"), QString()}) {
        SCOPED_TRACE(unsafe.toStdString());
        TEnvScope runtimeScope("XDG_RUNTIME_DIR", unsafe.toStdString());
        EXPECT_EQ(NamedLockFolder(), fallback);
    }
}

TEST_F(NamedLock, ASymlinkInTheLocksPlaceIsNotFollowed)
{
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath("precious");
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    ASSERT_EQ(chmod(target.toLocal8Bit().constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(target, runtime.filePath(QString::fromStdString(name) + ".lock")));

    TProbeProcess probe(Lock(), environment);
    EXPECT_EQ(probe.Verdict(), "failed");
    TEnvScope runtimeScope("XDG_RUNTIME_DIR", runtime.path().toStdString());
    EXPECT_EQ(TNamedMutex::Create(name), nullptr);

    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("keep me"));
    EXPECT_EQ(ModeOf(target), 0644);
}

TEST_F(NamedLock, TwoOpeningsInOneProcessSeeEachOther)
{
    TEnvScope runtimeScope("XDG_RUNTIME_DIR", runtime.path().toStdString());
    auto first = TNamedMutex::Create(name);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->AlreadyExisted());
    auto second = TNamedMutex::Create(name);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->AlreadyExisted());
    first.reset();
    second.reset();
    EXPECT_FALSE(TNamedMutex::Create(name)->AlreadyExisted());
}

TEST_F(NamedLock, NamesThatAreNotPlainFileNamesAreRefused)
{
    TEnvScope runtimeScope("XDG_RUNTIME_DIR", runtime.path().toStdString());
    for (const char* bad : {"", ".", "..", "a/b", "/etc/passwd"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(TNamedMutex::Create(bad), nullptr);
    }
}

} // namespace
