// The one main of the test programs that need Qt. It pins what the machine
// would otherwise decide: the offscreen platform plugin (unless the caller
// chose another) and the C.UTF-8 locale, so the user's decimal separator is "."
// and golden texts do not depend on the machine. Test programs with windows
// (WORMGEAR_TEST_WIDGETS) get a QApplication, or the class named by
// WORMGEAR_TEST_APPLICATION, and the modal-dialog watchdog; the others a
// QCoreApplication. A program built with WORMGEAR_TEST_SCREEN_WIDTH and
// WORMGEAR_TEST_SCREEN_HEIGHT gets an offscreen screen of that size (the
// plugin's own is 800 x 600), so its windows meet a real desktop's room.
#include <gtest/gtest.h>

#include <QLocale>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#ifdef WORMGEAR_TEST_APPLICATION_HEADER
#include WORMGEAR_TEST_APPLICATION_HEADER
#endif
#ifdef WORMGEAR_TEST_WIDGETS
#include <QApplication>

#include "dialogs/dialogs.h"
#include "dialogs/testing/modal_watchdog.h"
#else
#include <QCoreApplication>
#endif

#ifndef WORMGEAR_TEST_APPLICATION
#ifdef WORMGEAR_TEST_WIDGETS
#define WORMGEAR_TEST_APPLICATION QApplication
#else
#define WORMGEAR_TEST_APPLICATION QCoreApplication
#endif
#endif

namespace {

#ifdef WORMGEAR_TEST_WIDGETS
// The program's application object shows an error no command caught in a
// box; in a test that box is a failure.
class UnexpectedErrorDialogs : public wormgear::Dialogs {
 public:
    void message(const QString& caption, const QString& text) override {
        ADD_FAILURE() << "uncaught error shown: " << caption.toStdString() << ": " << text.toStdString();
    }
    bool askYesNo(const QString&, const QString& text) override {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return false;
    }
    std::optional<QString> saveFileName(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> openFileName(const QString&) override { return std::nullopt; }
};

// The program's own application object routes uncaught errors to dialogs.
template <typename Application>
void RouteUncaughtErrors(Application& application, wormgear::Dialogs& dialogs) {
    if constexpr (requires { application.setErrorDialogs(&dialogs); }) application.setErrorDialogs(&dialogs);
}
#endif

#if defined(WORMGEAR_TEST_SCREEN_WIDTH) && defined(WORMGEAR_TEST_SCREEN_HEIGHT)
// The offscreen plugin reads its screens from a JSON file named in the
// platform's options ("offscreen:configfile=PATH") while the application
// object is made: written by each run into the temporary folder, removed
// once read. Returns the file, empty where the caller chose another platform.
std::string UseTestScreen() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform != "offscreen") return std::string();
    const char* folder = std::getenv("TMPDIR");
    const std::string path = std::string(folder && *folder ? folder : "/tmp") + "/wormgear-test-screen-" +
                             std::to_string(::getpid()) + ".json";
    std::ofstream(path) << "{\"screens\": [{\"name\": \"TestScreen\", \"x\": 0, \"y\": 0, \"width\": "
                        << WORMGEAR_TEST_SCREEN_WIDTH << ", \"height\": " << WORMGEAR_TEST_SCREEN_HEIGHT
                        << ", \"logicalDpi\": 96}]}\n";
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + QByteArray::fromStdString(path));
    return path;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#if defined(WORMGEAR_TEST_SCREEN_WIDTH) && defined(WORMGEAR_TEST_SCREEN_HEIGHT)
    const std::string screenFile = UseTestScreen();
#endif
    ::setenv("LC_ALL", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "C.UTF-8");
    ::testing::InitGoogleTest(&argc, argv);
    WORMGEAR_TEST_APPLICATION application(argc, argv);
#if defined(WORMGEAR_TEST_SCREEN_WIDTH) && defined(WORMGEAR_TEST_SCREEN_HEIGHT)
    if (!screenFile.empty()) std::remove(screenFile.c_str());
#endif
    QLocale::setDefault(QLocale::c());
#ifdef WORMGEAR_TEST_WIDGETS
    wormgear::testing::ModalWatchdog watchdog;
    UnexpectedErrorDialogs unexpected;
    RouteUncaughtErrors(application, unexpected);
#endif
    return RUN_ALL_TESTS();
}
