// The start of the window program: creates the application and the main
// window, shows it (which loads the coefficients and starts the version
// check), and runs the user interface until the main window closes.
#include "app/program.h"

#include <QIcon>
#include <QTimer>

#include "app/online/online.h"
#include "app/online/online_client.h"
#include "calc/numeric.h"
#include "dialogs/qt_dialogs.h"
#include "files/program_files.h"
#include "files/qt_path.h"
#include "translations/interface_language.h"
#include "ui/application.h"
#include "ui/tform1.h"

namespace wormgear {

OnlineServices ConnectOnlineServices(OnlineClient& client) {
    OnlineServices online;
    online.fetchNoticeLine = [&client](const QString& directory, QObject* receiver,
                                       std::function<void(const QString&)> show) {
        client.fetchNoticeLine(directory, receiver, std::move(show));
    };
    online.checkVersion = [&client](const QString& directory, QObject* receiver, std::function<void()> differs) {
        client.checkVersion(directory, receiver, std::move(differs));
    };
    online.newVersionMessage = NewVersionMessage();
    online.updaterProblem = UpdaterProblem;
    online.startUpdater = StartUpdater;
    return online;
}

int RunWindowProgram(int& argc, char** argv, const ProgramHooks& hooks) {
    // Qt warns on the error stream of a session without a runtime folder
    // (started by su, sudo or cron): it is named before Qt looks for it.
    NameRuntimeFolderWhereUnset();
    TApplication app(argc, argv);
    // Every file the program uses without asking lies beside the executable.
    const QString programDirectory = FromLocalPath(ProgramDirectory());
    // Before the first window: every text it makes is in this language.
    InstallTranslations(app, InterfaceLanguage(programDirectory), programDirectory);

    QtDialogs dialogs(nullptr, ProgramDialogFolder(programDirectory));
    app.setErrorDialogs(&dialogs);
    app.setWindowIcon(QIcon(QStringLiteral(":/wormgear/wormgear.svg")));  // the desktop entry's icon
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    // Made before the window and gone after it: at the end it drops a
    // transfer still running instead of waiting for the server.
    OnlineClient client(ServerBaseAddress());
    TForm1 form(dialogs, programDirectory, UserDecimalSeparator(), arguments, ConnectOnlineServices(client));
    dialogs.setParent(&form);
    // Closing the main window by any path ends the program, also from inside
    // a dialog's own event loop.
    QObject::connect(&form, &TForm1::programEnded, &app, [] { QCoreApplication::exit(0); });
    form.show();
    if (form.hasEnded()) return 0;  // the show step failed before the window came up
    if (hooks.whenShown) QTimer::singleShot(0, &app, [&] { hooks.whenShown(form); });
    return app.exec();
}

}  // namespace wormgear
