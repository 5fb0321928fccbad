// glowsaver: the screensaver program.
#include "glowsaver/host/WinMainUnit.h"

int main(int argc, char** argv) { return Glowsaver_Main(argc, argv); }
