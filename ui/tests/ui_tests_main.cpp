// The window tests run offscreen under the program's own application object,
// so its last-resort error handler is the one under test. Outside the test of
// that handler, an error reaching it fails the running test.
#include <gtest/gtest.h>

#include "application.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    wormgear::TApplication app(argc, argv);
    UnexpectedErrorDialogs unexpected;
    app.setErrorDialogs(&unexpected);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
