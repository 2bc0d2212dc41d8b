// The application object and its last-resort error handler: an error that no
// command catches is shown with its own text and the program goes on.
#pragma once

#include <QApplication>
#include <exception>

#include "dialogs/dialogs.h"

namespace wormgear {

// Shows the error's own text in a plain box with the application title.
void ShowUncaughtError(Dialogs& dialogs, const std::exception& error);

class TApplication : public QApplication {
 public:
    TApplication(int& argc, char** argv);
    // Where the handler shows its boxes; without one nothing is shown.
    void setErrorDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }
    Dialogs* errorDialogs() const { return dialogs_; }

    // Delivers every event; an exception escaping its handler ends here.
    bool notify(QObject* receiver, QEvent* event) override;

 private:
    Dialogs* dialogs_ = nullptr;
};

}  // namespace wormgear
