// Takes the picture of the main window that the README and the AppStream
// metadata show: the window program's own start, the worked example typed in
// (A = 200, i = 25, z2 = 50, z1 = 2, Db = 130, d1 = 78) and calculated, and
// the window grabbed from the screen. screenshot.sh runs it under Xvfb.
//
//   wormgear_screenshot OUTPUT.png
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <vector>

#include "app/program.h"
#include "ui/tform1.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: wormgear_screenshot OUTPUT.png\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    // The window program must not take the output for a design file to open.
    std::vector<char*> programArguments{argv[0], nullptr};
    int programArgumentCount = 1;

    wormgear::ProgramHooks hooks;
    hooks.whenShown = [output](wormgear::TForm1& form) {
        // In the order a designer types them: the centre distance first, whose
        // proposals for Db and d1 the two later texts replace.
        const std::pair<QLineEdit*, const char*> inputs[] = {
            {form.Edit1, "200"}, {form.Edit2, "25"},  {form.Edit3, "50"},
            {form.Edit4, "2"},   {form.Edit5, "130"}, {form.Edit7, "78"},
        };
        for (const auto& [edit, text] : inputs) edit->setText(QString::fromLatin1(text));
        form.Button1->click();
        // Let the window paint its results before the screen is read.
        QTimer::singleShot(1000, &form, [&form, output] {
            const QPixmap shot = form.screen()->grabWindow(form.winId());
            const bool saved = !shot.isNull() && shot.save(output, "PNG");
            if (!saved) std::fprintf(stderr, "wormgear_screenshot: cannot save %s\n", qPrintable(output));
            QCoreApplication::exit(saved ? 0 : 1);
        });
    };
    return wormgear::RunWindowProgram(programArgumentCount, programArguments.data(), hooks);
}
