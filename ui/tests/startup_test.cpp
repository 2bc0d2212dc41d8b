// Start-up and shutdown: the creation step, the guarded show step and its
// failure path, the notice line and the version check that never hold the
// window, the ways the window closes, the upgrade command, and the
// last-resort error handler.
#include <QFile>
#include <QSignalSpy>

#include "app/online/online.h"
#include "app/online/online_client.h"
#include "app/online/tests/test_http_server.h"
#include "app/program.h"
#include "export/progress_dialog.h"
#include "settings/coefficient_editor.h"
#include "ui/application.h"
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

const QString kDataInitFailed = QStringLiteral("数据初始化失败，程序将关闭");

// Bounds a broken test only; no time is asserted.
constexpr int kWaitMs = 20000;

// A server address on 127.0.0.1 where nothing listens.
QString NowhereAddress() { return QStringLiteral("http://127.0.0.1:%1").arg(TestHttpServer::UnusedPort()); }

TestHttpServer::Reply Held(TestHttpServer::Reply reply) {
    reply.waitForRelease = true;
    return reply;
}

// The show step failed: the box (with what failed beneath it), then the
// window is gone for good.
void ExpectShowStepFailure(const TForm1& form, const ScriptedDialogs& dialogs, const QString& detail) {
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{kDataInitFailed});
    EXPECT_EQ(ScriptedDialogs::Detail(dialogs.messages[0]), detail);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.hasEnded());
}

TEST_F(WindowTest, ShowStepLoadsTheCoefficientsOnce) {
    int versionChecks = 0;
    OnlineServices online;
    online.checkVersion = [&](const QString& directory, QObject* receiver, std::function<void()>) {
        EXPECT_EQ(directory, programDirectory());
        EXPECT_EQ(receiver, form.get());
        ++versionChecks;
    };
    openWindow({}, online);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(versionChecks, 1);
    for (int k = 0; k < kCoefficientCount; ++k) EXPECT_EQ(form->coefficients().c[k], kExampleCoefficients[k]);
    EXPECT_FALSE(form->Label50->isVisible());
    form->hide();
    form->show();
    EXPECT_EQ(versionChecks, 1);  // the show step runs at the first showing only
    EXPECT_TRUE(dialogs.messages.empty());
}

struct StoreFailure {
    const char* name;
    std::function<void(const QString& directory)> breakStore;
    const char* detail;  // beneath the message, after the path of db1.mdb; none for other failures
};

TEST_F(WindowTest, ShowStepFailureEndsTheProgramBeforeTheWindowComesUp) {
    const StoreFailure kFailures[] = {
        {"db1.mdb missing", [](const QString& d) { QFile::remove(d + "db1.mdb"); }, "没有那个文件或目录"},
        {"db1.mdb not a database",
         [](const QString& d) {
             QFile file(d + "db1.mdb");
             ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
             file.write("Standard Jet DB? no, just text");
         },
         "文件不是可读的数据库"},
        {"v.txt missing", [](const QString& d) { QFile::remove(d + "v.txt"); }, nullptr},
    };
    // The real services: the installed version is read in the show step.
    OnlineClient client(NowhereAddress());
    for (const StoreFailure& failure : kFailures) {
        SCOPED_TRACE(failure.name);
        WriteProgramFiles(programDirectory(), kExampleCoefficients);
        failure.breakStore(programDirectory());
        dialogs.messages.clear();
        form = std::make_unique<TForm1>(dialogs, programDirectory(), '.', QStringList{}, ConnectOnlineServices(client));
        QSignalSpy ended(form.get(), &TForm1::programEnded);
        form->show();
        ExpectShowStepFailure(*form, dialogs,
                              failure.detail ? programDirectory() + "db1.mdb：" + failure.detail : QString());
        EXPECT_EQ(ended.count(), 1);
        form->show();  // nothing brings it back
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(dialogs.messages.size(), 1u);
    }
}

TEST_F(WindowTest, ModifiedRulesShowTheNotice) {
    Coefficients modified = kExampleCoefficients;
    modified[7] = 0.6;
    WriteProgramFiles(programDirectory(), modified, kExampleCoefficients);
    openWindow();
    EXPECT_TRUE(form->Label50->isVisible());
    EXPECT_EQ(form->coefficients().c[7], 0.6);
    // A reload from agreeing rows hides it again, and leaves the results alone.
    WriteProgramFiles(programDirectory(), kExampleCoefficients);
    EXPECT_TRUE(form->FormShow());
    EXPECT_FALSE(form->Label50->isVisible());
}

TEST_F(WindowTest, ReloadFailureEndsTheProgram) {
    openWindow();
    QSignalSpy ended(form.get(), &TForm1::programEnded);
    QFile::remove(programDirectory() + "db1.mdb");
    EXPECT_FALSE(form->FormShow());
    ExpectShowStepFailure(*form, dialogs, programDirectory() + "db1.mdb：没有那个文件或目录");
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(WindowTest, APublishedVersionThatDiffersIsShownOverTheRunningWindow) {
    std::function<void()> versionDiffers;
    OnlineServices online;
    online.newVersionMessage = NewVersionMessage();
    online.checkVersion = [&](const QString&, QObject*, std::function<void()> differs) {
        versionDiffers = std::move(differs);
    };
    openWindow({}, online);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_TRUE(versionDiffers);
    versionDiffers();  // the published version arrives
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("程序有新版本需要更新，请点击“维护-软件更新”"));
    EXPECT_TRUE(form->isVisible());
    // Once the window has closed, a late answer shows nothing.
    form->close();
    versionDiffers();
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(WindowTest, NoticeLineIsShownLiterally) {
    OnlineServices online;
    online.fetchNoticeLine = [](const QString&, QObject*, std::function<void(const QString&)> show) {
        show(QStringLiteral("新品 & more"));
    };
    openWindow({}, online);
    EXPECT_EQ(form->Label32->text(), QStringLiteral("新品 & more"));
    EXPECT_EQ(form->Label32->textFormat(), Qt::PlainText);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, ANoticeWiderThanTheLabelLosesItsEnd) {
    const QString notice = QStringLiteral("新版本上市") + QString(200, QChar(u'长')) + QStringLiteral("结尾");
    OnlineServices online;
    online.fetchNoticeLine = [&](const QString&, QObject*, std::function<void(const QString&)> show) { show(notice); };
    openWindow({}, online);
    const QString shown = form->Label32->text();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("新版本上市"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();  // the ellipsis
    EXPECT_LE(form->Label32->fontMetrics().horizontalAdvance(shown), form->Label32->contentsRect().width());
    EXPECT_TRUE(dialogs.messages.empty());
}

// --- the real services against servers on 127.0.0.1 ---

TEST_F(WindowTest, StartWithoutAServerLeavesTheNoticeEmpty) {
    OnlineClient client(NowhereAddress());
    openWindow({}, ConnectOnlineServices(client));
    EXPECT_TRUE(form->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !client.busy(); }, kWaitMs));
    EXPECT_TRUE(form->Label32->text().isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, AServerThatHoldsItsAnswerDoesNotHoldTheWindow) {
    TestHttpServer server;
    server.serve("/uploads/guanggao.txt", Held(TestHttpServer::Ok("新品上市")));
    server.serve("/uploads/v.txt", Held(TestHttpServer::Ok("7.7")));
    OnlineClient client(server.baseAddress());
    openWindow({}, ConnectOnlineServices(client));
    // The window is up while the server still holds the notice ...
    EXPECT_TRUE(form->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.waiting() == 1; }, kWaitMs));
    EXPECT_TRUE(form->Label32->text().isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());
    // ... and usable meanwhile.
    typeWorkedExample();
    form->Button1->click();
    EXPECT_EQ(form->resultLabel("Label23")->text(), QStringLiteral("322-----蜗轮分度圆直径"));
    EXPECT_EQ(server.waiting(), 1);
    // When the server answers, the notice comes, then the version message.
    server.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !client.busy(); }, kWaitMs));
    EXPECT_EQ(form->Label32->text(), QStringLiteral("新品上市"));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{NewVersionMessage()});
    EXPECT_EQ(server.requestedPaths(), (QList<QByteArray>{"/uploads/guanggao.txt", "/uploads/v.txt"}));
}

TEST_F(WindowTest, ATricklingServerDoesNotHoldTheWindowAndEndsInItsTimeOut) {
    TestHttpServer server;
    for (const char* path : {"/uploads/guanggao.txt", "/uploads/v.txt"}) {
        TestHttpServer::Reply trickle = TestHttpServer::Ok("7.7");
        trickle.pauseAfterEachByte = std::chrono::milliseconds(100);
        server.serve(path, trickle);
    }
    DownloadLimits limits;
    limits.totalTimeout = std::chrono::milliseconds(1000);  // about 10 of the reply's 90 bytes
    OnlineClient client(server.baseAddress(), limits);
    openWindow({}, ConnectOnlineServices(client));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(client.busy());  // shown while the downloads still run
    ASSERT_TRUE(QTest::qWaitFor([&] { return !client.busy(); }, kWaitMs));
    EXPECT_TRUE(form->Label32->text().isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(server.requests().size(), 2);
    EXPECT_FALSE(QFile::exists(programDirectory() + "gg"));
    EXPECT_FALSE(QFile::exists(programDirectory() + "v-up.txt"));
}

TEST_F(WindowTest, AnHtmlPageIsNeitherNoticeNorVersion) {
    TestHttpServer server;
    const QByteArray page = "<!DOCTYPE html>\n<html><body>Welcome</body></html>\n";
    for (const QByteArray& contentType : {QByteArray("text/html"), QByteArray("text/plain")}) {
        SCOPED_TRACE(contentType.constData());
        for (const char* path : {"/uploads/guanggao.txt", "/uploads/v.txt"})
            server.serve(path, TestHttpServer::Ok(page, contentType));
        OnlineClient client(server.baseAddress());
        openWindow({}, ConnectOnlineServices(client));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !client.busy(); }, kWaitMs));
        EXPECT_TRUE(form->Label32->text().isEmpty());
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_FALSE(QFile::exists(programDirectory() + "gg"));
        EXPECT_FALSE(QFile::exists(programDirectory() + "v-up.txt"));
        form.reset();
    }
    EXPECT_EQ(server.requests().size(), 4);
}

TEST_F(WindowTest, AReloadChecksTheVersionAgainWithoutWaitingForIt) {
    WriteCoefficientFile(programDirectory() + "db1.ccq", kExampleCoefficients);
    TestHttpServer server;
    server.serve("/uploads/v.txt", Held(TestHttpServer::Ok("7.7")));
    OnlineClient client(server.baseAddress());
    OnlineServices online = ConnectOnlineServices(client);
    online.fetchNoticeLine = nullptr;
    openWindow({}, online);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.waiting() == 1; }, kWaitMs));
    form->N15->trigger();  // 还原默认设置: a reload while the first check is held
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
    server.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !client.busy(); }, kWaitMs));
    EXPECT_EQ(server.requests().size(), 2);
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{NewVersionMessage(), NewVersionMessage()}));
}

TEST_F(WindowTest, ExitAndTheCloseBoxAskNothing) {
    for (int path = 0; path < 2; ++path) {
        SCOPED_TRACE(path == 0 ? "退出" : "close box");
        openWindow();
        typeWorkedExample();
        form->Button1->click();
        ASSERT_FALSE(form->designSaved());
        QSignalSpy ended(form.get(), &TForm1::programEnded);
        if (path == 0) form->N6->trigger();
        else form->close();
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(ended.count(), 1);
        EXPECT_TRUE(dialogs.questions.empty());
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST_F(WindowTest, CloseButtonWithNothingUnsavedClosesWithoutAQuestion) {
    openWindow();
    QSignalSpy ended(form.get(), &TForm1::programEnded);
    QTest::mouseClick(form->Button10, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(dialogs.questions.empty());
}

// The upgrade command over scripted updater services.
struct UpgradeCase {
    const char* name;
    QString updaterProblem;      // empty: the updater is there
    bool calculated;             // a calculated design, unsaved
    std::optional<bool> answer;  // to the unsaved-data question, when asked
    bool saveFails;              // a Yes whose save fails (no design-file template)
    QString startProblem;        // empty: the updater starts
    bool started;
    bool ended;
    QStringList messages;
};

const QString kMissing = QStringLiteral("找不到升级程序“/opt/wormgear/Project11.exe”。");
const QString kNotStarted = QStringLiteral("无法启动升级程序“/opt/wormgear/Project11.exe”：Permission denied");
const QString kSaveFailed = QStringLiteral("保存过程中发生错误,或者您还没安装EXCEL，保存失败........");

const UpgradeCase kUpgrades[] = {
    {"nothing unsaved", {}, false, {}, false, {}, true, true, {}},
    {"unsaved, No", {}, true, false, false, {}, true, true, {}},
    {"unsaved, Yes, save dialog cancelled", {}, true, true, false, {}, true, true, {}},
    {"unsaved, Yes, save fails", {}, true, true, true, {}, false, false, {kSaveFailed}},
    {"updater missing", kMissing, true, {}, false, {}, false, false, {kMissing}},
    {"updater missing, nothing unsaved", kMissing, false, {}, false, {}, false, false, {kMissing}},
    {"updater does not start", {}, true, false, false, kNotStarted, true, false, {kNotStarted}},
};

TEST_F(WindowTest, UpgradeAsksAboutUnsavedDataStartsTheUpdaterAndEnds) {
    for (const UpgradeCase& c : kUpgrades) {
        SCOPED_TRACE(c.name);
        dialogs = ScriptedDialogs();
        if (c.saveFails) QFile::remove(programDirectory() + "111.xls");
        int starts = 0;
        OnlineServices online;
        online.updaterProblem = [&](const QString& directory) {
            EXPECT_EQ(directory, programDirectory());
            return c.updaterProblem;
        };
        online.startUpdater = [&](const QString& directory) {
            EXPECT_EQ(directory, programDirectory());
            ++starts;
            return c.startProblem;
        };
        openWindow({}, online);
        if (c.calculated) {
            typeWorkedExample();
            form->Button1->click();
        }
        if (c.answer) dialogs.answers.push_back(*c.answer);
        if (c.answer == true && !c.saveFails) dialogs.saveAnswers.push_back(std::nullopt);
        form->N18->trigger();
        EXPECT_EQ(dialogs.questions.size(), c.answer ? 1u : 0u);
        EXPECT_EQ(starts > 0, c.started);
        EXPECT_EQ(form->hasEnded(), c.ended);
        EXPECT_EQ(form->isVisible(), !c.ended);
        // A failed save reports with its own messages, the first its fixed one
        // (the file and the reason beneath it).
        const QStringList messages = dialogs.messageHeadlines();
        EXPECT_EQ(c.saveFails ? messages.mid(0, 1) : messages, c.messages);
        if (!c.ended && c.calculated) {
            // The design stays on screen, unsaved.
            EXPECT_EQ(form->resultLabel("Label23")->text(), QStringLiteral("322-----蜗轮分度圆直径"));
            EXPECT_FALSE(form->designSaved());
        }
        form.reset();
        QFile::copy(QStringLiteral(WORMGEAR_BIN_DIR "/111.xls"), programDirectory() + "111.xls");
    }
}

TEST_F(WindowTest, UpgradeWithTheRealUpdaterServices) {
    OnlineClient client(NowhereAddress());
    openWindow({}, ConnectOnlineServices(client));
    // No updater beside the program: the message names it and the program goes on.
    form->N18->trigger();
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{QStringLiteral("找不到升级程序“%1”。").arg(programDirectory() + kUpdaterFileName)});
    EXPECT_TRUE(form->isVisible());
    // One that starts: the program ends.
    QFile updater(programDirectory() + kUpdaterFileName);
    ASSERT_TRUE(updater.open(QIODevice::WriteOnly));
    updater.write("#!/bin/sh\nexit 0\n");
    updater.close();
    ASSERT_TRUE(updater.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    form->N18->trigger();
    EXPECT_TRUE(form->hasEnded());
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(WindowTest, TheTwoDialogsAreCreatedHidden) {
    openWindow();
    ASSERT_NE(form->form2(), nullptr);
    EXPECT_FALSE(form->form2()->isVisible());
    ASSERT_NE(form->form5(), nullptr);
    EXPECT_FALSE(form->form5()->isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
}

// An object whose event handler fails like a command that does not catch.
class ThrowingObject : public QObject {
 public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) throw std::runtime_error("Floating point division by zero");
        return QObject::event(event);
    }
};

TEST(ApplicationTest, AnUncaughtErrorIsShownWithItsOwnTextAndTheProgramGoesOn) {
    auto* app = dynamic_cast<TApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    ScriptedDialogs dialogs;
    Dialogs* previous = app->errorDialogs();
    app->setErrorDialogs(&dialogs);
    ThrowingObject object;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&object, &event);
    QCoreApplication::sendEvent(&object, &event);  // the program went on
    app->setErrorDialogs(previous);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Floating point division by zero"));
}

}  // namespace
}  // namespace wormgear::testing
