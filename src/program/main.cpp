// Mernolex: the real window on the user's X display, the start-up, the message loop.

#include "program/RealWindow.h"

int main() { return runOnRealWindow("mernolex"); }
