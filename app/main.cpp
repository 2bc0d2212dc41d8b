// The window program: creates the application and the main window, shows it
// (which loads the coefficients and checks the version), and runs the user
// interface until the main window closes.
#include <QDir>
#include <QTimer>

#include "application.h"
#include "online.h"
#include "qt_dialogs.h"
#include "tform1.h"

int main(int argc, char** argv) {
    wormgear::TApplication app(argc, argv);
    wormgear::QtDialogs dialogs;
    app.setErrorDialogs(&dialogs);

    // Every file the program uses without asking lies beside the executable.
    const QString programDirectory = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/');
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    wormgear::OnlineServices online;
    online.fetchNoticeLine = wormgear::FetchNoticeLine;
    online.publishedVersionDiffers = wormgear::PublishedVersionDiffers;
    online.newVersionMessage = QString::fromUtf8(wormgear::kNewVersionMessage);
    online.startUpdater = [](const QString& directory) { wormgear::StartUpdater(directory); };

    wormgear::TForm1 form(dialogs, programDirectory, arguments, online);
    dialogs.setParent(&form);
    // Closing the main window by any path ends the program, also from inside
    // a dialog's own event loop.
    QObject::connect(&form, &wormgear::TForm1::programEnded, &app, [] { QCoreApplication::exit(0); });
    form.show();
    if (form.hasEnded()) return 0;  // the show step failed before the window came up

    // For start-up timing only: leave as soon as the window is on the screen.
    if (qEnvironmentVariableIsSet("WORMGEAR_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
    return app.exec();
}
