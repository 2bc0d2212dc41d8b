// Start-up and shutdown: the creation step, the guarded show step and its
// failure path, the notice line, the ways the window closes, and the
// last-resort error handler.
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>

#include "app/online/online.h"
#include "export/progress_dialog.h"
#include "settings/coefficient_editor.h"
#include "ui/application.h"
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

const QString kDataInitFailed = QStringLiteral("数据初始化失败，程序将关闭");

// The show step failed: the box, then the window is gone for good.
void ExpectShowStepFailure(const TForm1& form, const ScriptedDialogs& dialogs) {
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(dialogs.messages[0].text, kDataInitFailed);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.hasEnded());
}

TEST_F(WindowTest, ShowStepLoadsTheCoefficientsOnce) {
    int versionChecks = 0;
    OnlineServices online;
    online.publishedVersionDiffers = [&](const QString& directory) {
        EXPECT_EQ(directory, programDirectory());
        ++versionChecks;
        return false;
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
};

TEST_F(WindowTest, ShowStepFailureEndsTheProgramBeforeTheWindowComesUp) {
    const StoreFailure kFailures[] = {
        {"db1.mdb missing", [](const QString& d) { QFile::remove(d + "db1.mdb"); }},
        {"db1.mdb not a database",
         [](const QString& d) {
             QFile file(d + "db1.mdb");
             ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
             file.write("Standard Jet DB? no, just text");
         }},
        {"v.txt missing", [](const QString& d) { QFile::remove(d + "v.txt"); }},
    };
    for (const StoreFailure& failure : kFailures) {
        SCOPED_TRACE(failure.name);
        WriteProgramFiles(programDirectory(), kExampleCoefficients);
        failure.breakStore(programDirectory());
        dialogs.messages.clear();
        OnlineServices online;
        online.publishedVersionDiffers = [](const QString& directory) {
            if (!QFile::exists(directory + "v.txt")) throw std::runtime_error("v.txt missing");
            return false;
        };
        form = std::make_unique<TForm1>(dialogs, programDirectory(), '.', QStringList{}, online);
        QSignalSpy ended(form.get(), &TForm1::programEnded);
        form->show();
        ExpectShowStepFailure(*form, dialogs);
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
    ExpectShowStepFailure(*form, dialogs);
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(WindowTest, PublishedVersionDifferingShowsItsMessageBeforeTheWindowComesUp) {
    bool visibleAtMessage = true;
    OnlineServices online;
    online.newVersionMessage = NewVersionMessage();
    online.publishedVersionDiffers = [&](const QString&) {
        visibleAtMessage = form && form->isVisible();
        return true;
    };
    openWindow({}, online);
    EXPECT_FALSE(visibleAtMessage);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("程序有新版本需要更新，请点击“维护-软件更新”"));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(WindowTest, NoticeLineIsShownLiterally) {
    OnlineServices online;
    online.fetchNoticeLine = [](const QString&) {
        return std::optional<QString>(QStringLiteral("<b>新品</b> & more"));
    };
    openWindow({}, online);
    EXPECT_EQ(form->Label32->text(), QStringLiteral("<b>新品</b> & more"));
    EXPECT_EQ(form->Label32->textFormat(), Qt::PlainText);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, UnreadableNoticeIsReportedWithItsOwnTextAndStartUpGoesOn) {
    OnlineServices online;
    online.fetchNoticeLine = [](const QString&) -> std::optional<QString> {
        throw std::runtime_error("cannot read gg");
    };
    openWindow({}, online);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("cannot read gg"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->Label32->text().isEmpty());
}

// A port on 127.0.0.1 where nothing listens.
quint16 ClosedPort() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0)) return 9;
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

TEST_F(WindowTest, StartWithoutAServerLeavesTheNoticeEmpty) {
    const QByteArray saved = qgetenv("WORMGEAR_SERVER");
    qputenv("WORMGEAR_SERVER", QStringLiteral("http://127.0.0.1:%1").arg(ClosedPort()).toLatin1());
    OnlineServices online;
    online.fetchNoticeLine = FetchNoticeLine;
    online.publishedVersionDiffers = PublishedVersionDiffers;
    online.newVersionMessage = NewVersionMessage();
    openWindow({}, online);
    qputenv("WORMGEAR_SERVER", saved);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->Label32->text().isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());
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

TEST_F(WindowTest, UpgradeStartsTheUpdaterAndClosesWithoutAQuestion) {
    QStringList started;
    OnlineServices online;
    online.startUpdater = [&](const QString& directory) { started << directory; };
    openWindow({}, online);
    typeWorkedExample();
    form->Button1->click();
    form->N18->trigger();
    EXPECT_EQ(started, QStringList{programDirectory()});
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->hasEnded());
    EXPECT_TRUE(dialogs.questions.empty());
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
