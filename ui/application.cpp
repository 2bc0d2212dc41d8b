// The last-resort error handler.
#include "ui/application.h"

#include "translations/error_text.h"

namespace wormgear {

void ShowUncaughtError(Dialogs& dialogs, const std::exception& error) {
    // The file layer's sentences in the interface's language.
    dialogs.message(ApplicationTitle(), ErrorText(error));
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
