// The start of the window program: creates the application and the main
// window, shows it (which loads the coefficients and checks the version), and
// runs the user interface until the main window closes.
#include "app/program.h"

#include <QIcon>
#include <QTimer>

#include "app/online/online.h"
#include "calc/numeric.h"
#include "dialogs/qt_dialogs.h"
#include "files/qt_path.h"
#include "ui/application.h"
#include "ui/tform1.h"

namespace wormgear {

int RunWindowProgram(int& argc, char** argv, const ProgramHooks& hooks) {
    TApplication app(argc, argv);
    QtDialogs dialogs;
    app.setErrorDialogs(&dialogs);
    app.setWindowIcon(QIcon(QStringLiteral(":/wormgear/wormgear.svg")));  // the desktop entry's icon

    // Every file the program uses without asking lies beside the executable.
    const QString programDirectory = FromLocalPath(ProgramDirectory());
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    OnlineServices online;
    online.fetchNoticeLine = FetchNoticeLine;
    online.publishedVersionDiffers = PublishedVersionDiffers;
    online.newVersionMessage = NewVersionMessage();
    online.startUpdater = [](const QString& directory) { StartUpdater(directory); };

    TForm1 form(dialogs, programDirectory, UserDecimalSeparator(), arguments, online);
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
