// Mernolex: the command line, the data directory, the real window on the user's X display.

#include <string>
#include <vector>

#include "program/Launch.h"

int main(int argc, char** argv) {
    return launch("mernolex", std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
}
