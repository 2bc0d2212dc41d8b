// The window program from start to end: the application object, the main
// window over the program directory, the online services, and the event loop
// until the main window closes. main() is only this; the start-up benchmark
// runs the same start with a hook that leaves once the window is shown.
#pragma once

#include <functional>

#include "ui/online_services.h"

namespace wormgear {

class OnlineClient;
class TForm1;

struct ProgramHooks {
    // Called once the main window is on the screen; may end the program with
    // QCoreApplication::exit.
    std::function<void(TForm1&)> whenShown;
};

// Returns the program's exit status.
int RunWindowProgram(int& argc, char** argv, const ProgramHooks& hooks = {});

// The window's online services over a client that runs the downloads off the
// window's thread, and the updater beside the program. The client must
// outlive every window given them.
OnlineServices ConnectOnlineServices(OnlineClient& client);

}  // namespace wormgear
