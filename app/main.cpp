// wormgear, the window program.
#include "app/program.h"

int main(int argc, char** argv) { return wormgear::RunWindowProgram(argc, argv); }
