// The version check, the notice line, the server address and the updater
// launch, each in a temporary program directory and against a server the test
// runs on 127.0.0.1.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/online/download.h"
#include "app/online/online.h"
#include "app/online/tests/test_http_server.h"

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
        if (wasSet_) {
            qputenv("WORMGEAR_SERVER", previous_);
        } else {
            qunsetenv("WORMGEAR_SERVER");
        }
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

    QTemporaryDir dir_;
    TestHttpServer server_;
    ServerVariable variable_{server_.baseAddress().toLatin1()};
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
    QByteArray installed;  // "v.txt" beside the program
    QByteArray published;  // "/uploads/v.txt" on the server
    bool differs;
};

void PrintTo(const VersionCase& c, std::ostream* out) { *out << c.name; }

const VersionCase kVersions[] = {
    {"same version", "7.6\r\n", "7.6\r\n", false},
    {"different version", "7.6\r\n", "7.7\r\n", true},
    {"older published version", "7.6", "7.5", true},
    {"trailing blank", "7.6", "7.6 ", true},
    {"letter case", "v7.6", "V7.6", true},
    {"published longer", "7.6", "7.60", true},
    {"both empty", "", "", false},
    {"installed empty", "", "7.6", true},
    {"published empty", "7.6", "", true},
    {"later lines differ", "7.6\nbuilt Monday\n", "7.6\nbuilt Friday\n", false},
    {"CR LF against LF", "7.6\r\n", "7.6\n", false},
    {"no line end against LF", "7.6", "7.6\nmore", false},
    {"byte 26 ends the line",
     "7.6\x1a"
     "garbage",
     "7.6\r\n", false},
    {"lone CR left out", "7.\r6", "7.6", false},
    {"lone CR at the end", "7.6\r", "7.6", false},
    {"bytes compared as they are",
     "\xb0\xe6\xb1\xbe"
     "7.6",
     "\xb0\xe6\xb1\xbe"
     "7.6",
     false},
    {"one byte differs",
     "\xb0\xe6\xb1\xbe"
     "7.6",
     "\xb0\xe6\xb1\xbf"
     "7.6",
     true},
};

class VersionCheckTest : public OnlineServicesTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionCheckTest, ComparesFirstLines) {
    const VersionCase& c = GetParam();
    writeFile("v.txt", c.installed);
    server_.serve("/uploads/v.txt", TestHttpServer::Ok(c.published));
    EXPECT_EQ(PublishedVersionDiffers(programDirectory()), c.differs);
    EXPECT_EQ(readFile("v-up.txt"), c.published);
    EXPECT_EQ(readFile("v.txt"), c.installed);  // the installed file is never written
    EXPECT_EQ(server_.requestedPaths(), QList<QByteArray>{"/uploads/v.txt"});
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionCheckTest, ::testing::ValuesIn(kVersions),
                         [](const ::testing::TestParamInfo<VersionCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != '\0'; ++p) {
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             }
                             return name;
                         });

TEST_F(OnlineServicesTest, VersionCheckIsQuietWhenTheServerIsUnreachable) {
    writeFile("v.txt", "7.6");
    ServerVariable unreachable(QString("http://127.0.0.1:%1").arg(TestHttpServer::UnusedPort()).toLatin1());
    EXPECT_FALSE(PublishedVersionDiffers(programDirectory()));
    EXPECT_FALSE(exists("v-up.txt"));
}

TEST_F(OnlineServicesTest, VersionCheckIsQuietWhenTheFileIsNotPublished) {
    writeFile("v.txt", "7.6");
    EXPECT_FALSE(PublishedVersionDiffers(programDirectory()));
    EXPECT_EQ(server_.requestedPaths(), QList<QByteArray>{"/uploads/v.txt"});
    EXPECT_FALSE(exists("v-up.txt"));
}

TEST_F(OnlineServicesTest, VersionCheckIgnoresAStaleDownloadWhenTheNewOneFails) {
    writeFile("v.txt", "7.6");
    writeFile("v-up.txt", "9.9");  // left by an earlier run
    EXPECT_FALSE(PublishedVersionDiffers(programDirectory()));
}

TEST_F(OnlineServicesTest, VersionCheckIsQuietWhenTheServerIsTooSlow) {
    writeFile("v.txt", "7.6");
    TestHttpServer::Reply silent;
    silent.holdOpen = true;
    server_.serve("/uploads/v.txt", silent);
    ScopedDownloadLimits shortened({.connectTimeout = 1000ms, .totalTimeout = 300ms});
    EXPECT_FALSE(PublishedVersionDiffers(programDirectory()));
}

TEST_F(OnlineServicesTest, VersionCheckRefusesAnOversizedPublishedFile) {
    writeFile("v.txt", "7.6");
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.7\n" + QByteArray(1024 * 1024, 'x')));
    EXPECT_FALSE(PublishedVersionDiffers(programDirectory()));
    EXPECT_FALSE(exists("v-up.txt"));
}

TEST_F(OnlineServicesTest, VersionCheckWithoutTheInstalledFileThrowsBeforeDownloading) {
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.6"));
    EXPECT_THROW(PublishedVersionDiffers(programDirectory()), std::runtime_error);
    EXPECT_TRUE(server_.requests().isEmpty());
}

TEST_F(OnlineServicesTest, VersionCheckRunsAgainOnEveryCall) {
    writeFile("v.txt", "7.6");
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.7"));
    EXPECT_TRUE(PublishedVersionDiffers(programDirectory()));
    EXPECT_TRUE(PublishedVersionDiffers(programDirectory()));
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.6"));
    EXPECT_FALSE(PublishedVersionDiffers(programDirectory()));
    EXPECT_EQ(server_.requests().size(), 3);
}

TEST_F(OnlineServicesTest, VersionCheckThrowsWhenTheInstalledFileIsRemoved) {
    writeFile("v.txt", "7.6");
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.6"));
    EXPECT_FALSE(PublishedVersionDiffers(programDirectory()));
    ASSERT_TRUE(QFile::remove(programDirectory() + "v.txt"));
    EXPECT_THROW(PublishedVersionDiffers(programDirectory()), std::runtime_error);
}

TEST(NewVersionMessage, Text) {
    EXPECT_EQ(NewVersionMessage(), QString::fromUtf8("程序有新版本需要更新，请点击“维护-软件更新”"));
}

// --- notice line ---

QByteArray Gb18030(const QString& text) {
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

struct NoticeCase {
    const char* name;
    QByteArray published;  // "/uploads/guanggao.txt" on the server
    QString shown;
};

void PrintTo(const NoticeCase& c, std::ostream* out) { *out << c.name; }

const NoticeCase kNotices[] = {
    {"ASCII", "Version 7.7 is out\r\nsecond line", "Version 7.7 is out"},
    {"UTF-8", "欢迎使用蜗轮蜗杆设计程序\n第二行", "欢迎使用蜗轮蜗杆设计程序"},
    {"UTF-8 with byte-order mark", "\xef\xbb\xbf欢迎使用\n", "欢迎使用"},
    // 0xBB 0xB6 0xD3 0xAD is "欢迎" in GB2312, a subset of GB18030, and not valid UTF-8
    {"GB18030", "\xbb\xb6\xd3\xad\r\n", "欢迎"},
    {"GB18030 four-byte sequence", Gb18030("€ 欢迎 \U0001F600") + "\n", "€ 欢迎 \U0001F600"},
    {"markup returned as it is", "<b>新版本</b> <a href=\"http://x\">下载</a> &amp; <img src=x>\n",
     "<b>新版本</b> <a href=\"http://x\">下载</a> &amp; <img src=x>"},
    {"empty notice", "", ""},
    {"first line empty", "\r\nsecond line", ""},
};

class NoticeLineTest : public OnlineServicesTest, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(NoticeLineTest, ShowsTheFirstLineDecoded) {
    const NoticeCase& c = GetParam();
    server_.serve("/uploads/guanggao.txt", TestHttpServer::Ok(c.published));
    const std::optional<QString> notice = FetchNoticeLine(programDirectory());
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(*notice, c.shown);
    EXPECT_EQ(readFile("gg"), c.published);
    EXPECT_EQ(server_.requestedPaths(), QList<QByteArray>{"/uploads/guanggao.txt"});
}

INSTANTIATE_TEST_SUITE_P(Notices, NoticeLineTest, ::testing::ValuesIn(kNotices),
                         [](const ::testing::TestParamInfo<NoticeCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != '\0'; ++p) {
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             }
                             return name;
                         });

TEST_F(OnlineServicesTest, NoNoticeWhenTheServerIsUnreachable) {
    ServerVariable unreachable(QString("http://127.0.0.1:%1").arg(TestHttpServer::UnusedPort()).toLatin1());
    EXPECT_EQ(FetchNoticeLine(programDirectory()), std::nullopt);
    EXPECT_FALSE(exists("gg"));
}

TEST_F(OnlineServicesTest, NoNoticeWhenItIsNotPublished) {
    writeFile("gg", "stale notice\n");  // left by an earlier run, never shown again
    EXPECT_EQ(FetchNoticeLine(programDirectory()), std::nullopt);
    EXPECT_EQ(readFile("gg"), "stale notice\n");
}

TEST_F(OnlineServicesTest, NoNoticeWhenItIsTooLarge) {
    server_.serve("/uploads/guanggao.txt", TestHttpServer::Ok(QByteArray(1024 * 1024 + 1, 'x')));
    EXPECT_EQ(FetchNoticeLine(programDirectory()), std::nullopt);
}

TEST_F(OnlineServicesTest, NoticeAndVersionComeFromTheSameServer) {
    writeFile("v.txt", "7.6");
    server_.serve("/uploads/guanggao.txt", TestHttpServer::Ok("notice"));
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.7"));
    EXPECT_EQ(FetchNoticeLine(programDirectory()), QString("notice"));
    EXPECT_TRUE(PublishedVersionDiffers(programDirectory()));
    EXPECT_EQ(server_.requestedPaths(), (QList<QByteArray>{"/uploads/guanggao.txt", "/uploads/v.txt"}));
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
    writeFile("Project11.exe",
              "#!/bin/sh\n"
              "echo \"$#\" > started.txt\n"
              "pwd -P >> started.txt\n"
              "touch started.txt.done\n");
    ASSERT_TRUE(QFile::setPermissions(programDirectory() + "Project11.exe",
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    EXPECT_TRUE(StartUpdater(programDirectory()));
    const QByteArray canonicalDirectory = QDir(dir_.path()).canonicalPath().toUtf8();
    EXPECT_EQ(WaitForFile(programDirectory() + "started.txt"), "0\n" + canonicalDirectory + "\n");
}

TEST_F(OnlineServicesTest, MissingUpdaterIsReportedNotThrown) { EXPECT_FALSE(StartUpdater(programDirectory())); }

TEST_F(OnlineServicesTest, UpdaterThatCannotRunIsReportedNotThrown) {
    writeFile("Project11.exe", "#!/bin/sh\ntouch ran\n");
    ASSERT_TRUE(
        QFile::setPermissions(programDirectory() + "Project11.exe", QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_FALSE(StartUpdater(programDirectory()));
}

}  // namespace
}  // namespace wormgear
