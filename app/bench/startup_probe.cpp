// The window program's start as the start-up benchmark times it: the same
// start as wormgear, leaving as soon as the main window is on the screen.
// It lives beside the program (build/bin) so it finds the same data files.
#include <QCoreApplication>

#include "app/program.h"

int main(int argc, char** argv) {
    wormgear::ProgramHooks hooks;
    hooks.whenShown = [](wormgear::TForm1&) { QCoreApplication::exit(0); };
    return wormgear::RunWindowProgram(argc, argv, hooks);
}
