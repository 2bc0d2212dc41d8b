// The one main of the test programs that need Qt. It pins what the machine
// would otherwise decide: the offscreen platform plugin (unless the caller
// chose another) and the C.UTF-8 locale, so the user's decimal separator is "."
// and golden texts do not depend on the machine. Test programs with windows
// (WORMGEAR_TEST_WIDGETS) get a QApplication, or the class named by
// WORMGEAR_TEST_APPLICATION, and the modal-dialog watchdog; the others a
// QCoreApplication.
#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>
#include <cstdlib>

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

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::setenv("LC_ALL", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "C.UTF-8");
    ::testing::InitGoogleTest(&argc, argv);
    WORMGEAR_TEST_APPLICATION application(argc, argv);
    QLocale::setDefault(QLocale::c());
#ifdef WORMGEAR_TEST_WIDGETS
    wormgear::testing::ModalWatchdog watchdog;
    UnexpectedErrorDialogs unexpected;
    RouteUncaughtErrors(application, unexpected);
#endif
    return RUN_ALL_TESTS();
}
