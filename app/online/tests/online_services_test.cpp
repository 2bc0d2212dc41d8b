// The version check, the notice line, the server address and the updater
// launch, each in a temporary program directory and against a server the test
// runs on 127.0.0.1.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include "app/online/online.h"
#include "app/online/tests/test_http_server.h"
#include "app/online/tests/test_support.h"
#include "files/file_io.h"

namespace wormgear {
namespace {

using testing::TestHttpServer;
using namespace std::chrono_literals;

// Sets WORMGEAR_SERVER for the lifetime of a test and puts back what was there.
class ServerVariable {
 public:
    explicit ServerVariable(const QByteArray& value)
        : wasSet_(qEnvironmentVariableIsSet("WORMGEAR_SERVER")), previous_(qgetenv("WORMGEAR_SERVER")) {
        qputenv("WORMGEAR_SERVER", value);
    }
    ~ServerVariable() {
        if (wasSet_) qputenv("WORMGEAR_SERVER", previous_);
        else qunsetenv("WORMGEAR_SERVER");
    }

 private:
    bool wasSet_;
    QByteArray previous_;
};

class OnlineServicesTest : public ::testing::Test {
 protected:
    // The program directory, with its trailing separator.
    QString programDirectory() const { return dir_.path() + "/"; }
    void writeFile(const QString& name, const QByteArray& bytes) const {
        QFile file(programDirectory() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile(const QString& name) const {
        QFile file(programDirectory() + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    bool exists(const QString& name) const { return QFile::exists(programDirectory() + name); }
    QStringList files() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    std::optional<QByteArray> publishedVersion(const DownloadLimits& limits = {}) {
        return FetchPublishedVersion(server_.baseAddress(), programDirectory(), limits);
    }
    std::optional<QString> notice(const DownloadLimits& limits = {}) {
        return FetchNoticeLine(server_.baseAddress(), programDirectory(), limits);
    }

    QTemporaryDir dir_;
    TestHttpServer server_;
};

// --- server address ---

TEST(ServerBaseAddress, DefaultWhenTheVariableIsNotSet) {
    ServerVariable variable("");
    qunsetenv("WORMGEAR_SERVER");
    EXPECT_EQ(ServerBaseAddress(), QString(kDefaultServerBaseAddress));
}

TEST(ServerBaseAddress, DefaultWhenTheVariableIsEmpty) {
    ServerVariable variable("  ");
    EXPECT_EQ(ServerBaseAddress(), QString(kDefaultServerBaseAddress));
}

TEST(ServerBaseAddress, FromTheVariableWithoutTrailingSlash) {
    const struct {
        const char* variable;
        const char* address;
    } cases[] = {
        {"http://updates.example.com", "http://updates.example.com"},
        {"http://updates.example.com:8080/", "http://updates.example.com:8080"},
        {"https://updates.example.com/", "https://updates.example.com"},
        {"http://10.0.0.5/wormgear//", "http://10.0.0.5/wormgear"},
    };
    for (const auto& c : cases) {
        ServerVariable variable(c.variable);
        EXPECT_EQ(ServerBaseAddress(), QString(c.address)) << c.variable;
    }
}

// --- version check ---

struct VersionCase {
    const char* name;
    TestHttpServer::Reply reply;  // "/uploads/v.txt" on the server
    std::optional<QByteArray> published;
};

void PrintTo(const VersionCase& c, std::ostream* out) { *out << c.name; }

const VersionCase kVersions[] = {
    {"version", TestHttpServer::Ok("7.7\r\n"), "7.7"},
    {"later lines", TestHttpServer::Ok("7.7\nbuilt Friday\n"), "7.7"},
    {"trailing blank kept", TestHttpServer::Ok("7.7 "), "7.7 "},
    {"byte 26 ends the line",
     TestHttpServer::Ok("7.7\x1a"
                        "garbage"),
     "7.7"},
    {"lone CR left out", TestHttpServer::Ok("7.\r7"), "7.7"},
    {"GB18030 bytes as they are",
     TestHttpServer::Ok("\xb0\xe6\xb1\xbe"
                        "7.7"),
     "\xb0\xe6\xb1\xbe"
     "7.7"},
    {"plain text with a charset", TestHttpServer::Ok("7.7", "text/plain; charset=GBK"), "7.7"},
    {"no content type", TestHttpServer::Raw("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n7.7"), "7.7"},
    {"64 bytes", TestHttpServer::Ok(QByteArray(64, '7')), QByteArray(64, '7')},
    {"65 bytes", TestHttpServer::Ok(QByteArray(65, '7')), std::nullopt},
    {"empty file", TestHttpServer::Ok(""), std::nullopt},
    {"empty first line", TestHttpServer::Ok("\r\n7.7"), std::nullopt},
    {"HTML page served as HTML", TestHttpServer::Ok("<!DOCTYPE html>\n<html>7.7</html>", "text/html"), std::nullopt},
    {"HTML page served as text", TestHttpServer::Ok("<!DOCTYPE html>\n<html>7.7</html>"), std::nullopt},
    {"version served as HTML", TestHttpServer::Ok("7.7", "text/html"), std::nullopt},
    {"JSON", TestHttpServer::Ok("{\"version\":\"7.7\"}", "application/json"), std::nullopt},
    {"control character", TestHttpServer::Ok("7.7\t"), std::nullopt},
    {"escape sequence", TestHttpServer::Ok("\x1b[2J7.7"), std::nullopt},
    {"not published", TestHttpServer::Status(404), std::nullopt},
};

class VersionCheckTest : public OnlineServicesTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionCheckTest, OnlyASanePlainTextCountsAndIsKept) {
    const VersionCase& c = GetParam();
    writeFile("v.txt", "7.6\n");
    server_.serve("/uploads/v.txt", c.reply);
    EXPECT_EQ(publishedVersion(), c.published);
    // The copy is kept only for a version that counts.
    if (c.published) {
        EXPECT_EQ(FirstLine(programDirectory() + "v-up.txt"), *c.published);
        EXPECT_EQ(files(), (QStringList{"v-up.txt", "v.txt"}));
    } else {
        EXPECT_EQ(files(), QStringList{"v.txt"});
    }
    EXPECT_EQ(readFile("v.txt"), "7.6\n");  // the installed file is never written
    EXPECT_EQ(server_.requestedPaths(), QList<QByteArray>{"/uploads/v.txt"});
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionCheckTest, ::testing::ValuesIn(kVersions), testing::ParamName<VersionCase>);

TEST_F(OnlineServicesTest, InstalledVersionIsTheFirstLineOfVTxt) {
    writeFile("v.txt", "7.6\r\nbuilt Monday\r\n");
    EXPECT_EQ(InstalledVersion(programDirectory()), "7.6");
    writeFile("v.txt", "");
    EXPECT_EQ(InstalledVersion(programDirectory()), "");
    ASSERT_TRUE(QFile::remove(programDirectory() + "v.txt"));
    EXPECT_THROW(InstalledVersion(programDirectory()), FileError);
}

TEST_F(OnlineServicesTest, NoVersionWhenTheServerIsUnreachable) {
    const QString unreachable = QString("http://127.0.0.1:%1").arg(TestHttpServer::UnusedPort());
    EXPECT_EQ(FetchPublishedVersion(unreachable, programDirectory(), {}), std::nullopt);
    EXPECT_FALSE(exists("v-up.txt"));
}

TEST_F(OnlineServicesTest, AStaleCopyIsNeverTakenForTheVersion) {
    writeFile("v-up.txt", "9.9");  // left by an earlier run
    EXPECT_EQ(publishedVersion(), std::nullopt);
    EXPECT_EQ(readFile("v-up.txt"), "9.9");
}

TEST_F(OnlineServicesTest, NoVersionWhenTheServerIsTooSlow) {
    server_.serve("/uploads/v.txt", TestHttpServer::Silent());
    DownloadLimits quick;
    quick.totalTimeout = 300ms;
    EXPECT_EQ(publishedVersion(quick), std::nullopt);
    EXPECT_FALSE(exists("v-up.txt"));
}

TEST_F(OnlineServicesTest, NoVersionWhenThePublishedFileIsOversized) {
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.7\n" + QByteArray(1024 * 1024, 'x')));
    EXPECT_EQ(publishedVersion(), std::nullopt);
    EXPECT_FALSE(exists("v-up.txt"));
}

TEST_F(OnlineServicesTest, AVersionThatCouldNotBeWrittenDoesNotCount) {
    writeFile("v-up.txt", "7.6");
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.7"));
    server_.serve("/uploads/guanggao.txt", TestHttpServer::Ok("notice"));
    {
        const testing::FileSizeLimit full(0);
        EXPECT_EQ(publishedVersion(), std::nullopt);
        EXPECT_EQ(notice(), std::nullopt);
    }
    EXPECT_EQ(readFile("v-up.txt"), "7.6");
    EXPECT_FALSE(exists("gg"));
    EXPECT_EQ(files(), QStringList{"v-up.txt"});
}

TEST_F(OnlineServicesTest, LinksBesideTheProgramAreReplacedNotWrittenThrough) {
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath("precious.txt");
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("precious");
    file.close();
    ASSERT_TRUE(QFile::link(target, programDirectory() + "v-up.txt"));
    ASSERT_TRUE(QFile::link(target, programDirectory() + "gg"));
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.7"));
    server_.serve("/uploads/guanggao.txt", TestHttpServer::Ok("notice"));
    EXPECT_EQ(publishedVersion(), "7.7");
    EXPECT_EQ(notice(), QString("notice"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "precious");
    EXPECT_FALSE(QFileInfo(programDirectory() + "v-up.txt").isSymLink());
    EXPECT_FALSE(QFileInfo(programDirectory() + "gg").isSymLink());
    EXPECT_EQ(readFile("v-up.txt"), "7.7");
    EXPECT_EQ(readFile("gg"), "notice");
}

TEST(NewVersionMessage, Text) {
    EXPECT_EQ(NewVersionMessage(), QString::fromUtf8("程序有新版本需要更新，请点击“维护-软件更新”"));
}

// --- notice line ---

struct NoticeCase {
    const char* name;
    TestHttpServer::Reply reply;  // "/uploads/guanggao.txt" on the server
    std::optional<QString> shown;
};

void PrintTo(const NoticeCase& c, std::ostream* out) { *out << c.name; }

const NoticeCase kNotices[] = {
    {"first line", TestHttpServer::Ok("Version 7.7 is out\r\nsecond line"), "Version 7.7 is out"},
    {"GB18030", TestHttpServer::Ok("\xbb\xb6\xd3\xad\r\n", "text/plain; charset=GBK"), "欢迎"},
    {"empty notice", TestHttpServer::Ok(""), ""},
    {"first line empty", TestHttpServer::Ok("\r\nsecond line"), ""},
    {"controls dropped", TestHttpServer::Ok("新版\u202E本\t7.7\n"), "新版本7.7"},
    {"markup", TestHttpServer::Ok("<b>新版本</b>\n"), std::nullopt},
    {"HTML page", TestHttpServer::Ok("<!DOCTYPE html>\n<p>hello</p>", "text/html"), std::nullopt},
    {"text served as HTML", TestHttpServer::Ok("hello", "text/html"), std::nullopt},
    {"not published", TestHttpServer::Status(404), std::nullopt},
    {"too large", TestHttpServer::Ok(QByteArray(1024 * 1024 + 1, 'x')), std::nullopt},
};

class NoticeLineTest : public OnlineServicesTest, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(NoticeLineTest, ShowsOnlyAPlainTextFirstLine) {
    const NoticeCase& c = GetParam();
    server_.serve("/uploads/guanggao.txt", c.reply);
    EXPECT_EQ(notice(), c.shown);
    EXPECT_EQ(files(), c.shown ? QStringList{"gg"} : QStringList{});
    EXPECT_EQ(server_.requestedPaths(), QList<QByteArray>{"/uploads/guanggao.txt"});
}

INSTANTIATE_TEST_SUITE_P(Notices, NoticeLineTest, ::testing::ValuesIn(kNotices), testing::ParamName<NoticeCase>);

TEST_F(OnlineServicesTest, TheNoticeIsKeptAsPublished) {
    server_.serve("/uploads/guanggao.txt", TestHttpServer::Ok("欢迎\r\n第二行\r\n"));
    EXPECT_EQ(notice(), QString("欢迎"));
    EXPECT_EQ(readFile("gg"), "欢迎\r\n第二行\r\n");
}

TEST_F(OnlineServicesTest, AStaleNoticeIsNeverShownAgain) {
    writeFile("gg", "stale notice\n");  // left by an earlier run
    EXPECT_EQ(notice(), std::nullopt);
    EXPECT_EQ(readFile("gg"), "stale notice\n");
}

// --- updater ---

// Waits for the started program to leave its marker; no time is asserted, the
// wait only bounds a broken test.
QByteArray WaitForFile(const QString& path) {
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(path + ".done") && waited.elapsed() < 20000) QThread::msleep(20);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST_F(OnlineServicesTest, UpdaterIsStartedWithoutArgumentsInTheProgramDirectory) {
    // Records its argument count and working directory, then marks itself done.
    writeFile(kUpdaterFileName,
              "#!/bin/sh\n"
              "echo \"$#\" > started.txt\n"
              "pwd -P >> started.txt\n"
              "touch started.txt.done\n");
    ASSERT_TRUE(QFile::setPermissions(programDirectory() + kUpdaterFileName,
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    EXPECT_EQ(UpdaterProblem(programDirectory()), QString());
    EXPECT_EQ(StartUpdater(programDirectory()), QString());
    const QByteArray canonicalDirectory = QDir(dir_.path()).canonicalPath().toUtf8();
    EXPECT_EQ(WaitForFile(programDirectory() + "started.txt"), "0\n" + canonicalDirectory + "\n");
}

TEST_F(OnlineServicesTest, AMissingUpdaterIsNamed) {
    const QString path = programDirectory() + kUpdaterFileName;
    EXPECT_EQ(UpdaterProblem(programDirectory()), QString("找不到升级程序“%1”。").arg(path));
    const QString message = StartUpdater(programDirectory());
    EXPECT_TRUE(message.startsWith(QString("无法启动升级程序“%1”").arg(path))) << message.toStdString();
}

TEST_F(OnlineServicesTest, AnUpdaterThatCannotRunIsNamed) {
    const QString path = programDirectory() + kUpdaterFileName;
    const QString notAProgram = QString("升级程序“%1”不是可以运行的程序。").arg(path);
    // Not executable.
    writeFile(kUpdaterFileName, "#!/bin/sh\ntouch ran\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_EQ(UpdaterProblem(programDirectory()), notAProgram);
    EXPECT_FALSE(StartUpdater(programDirectory()).isEmpty());
    // A folder of that name.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir(dir_.path()).mkdir(kUpdaterFileName));
    EXPECT_EQ(UpdaterProblem(programDirectory()), notAProgram);
    // Executable, but its interpreter does not exist: only the start finds out.
    ASSERT_TRUE(QDir(dir_.path()).rmdir(kUpdaterFileName));
    writeFile(kUpdaterFileName, "#!/nonexistent/interpreter\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    EXPECT_EQ(UpdaterProblem(programDirectory()), QString());
    const QString message = StartUpdater(programDirectory());
    EXPECT_TRUE(message.startsWith(QString("无法启动升级程序“%1”").arg(path))) << message.toStdString();
    EXPECT_FALSE(exists("ran"));
}

}  // namespace
}  // namespace wormgear
