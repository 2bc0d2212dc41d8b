// The last-resort error handler.
#include "ui/application.h"

namespace wormgear {

void ShowUncaughtError(Dialogs& dialogs, const std::exception& error) {
    dialogs.message(ApplicationTitle(), QString::fromUtf8(error.what()));
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (dialogs_ != nullptr) ShowUncaughtError(*dialogs_, error);
    }
    return false;
}

}  // namespace wormgear
