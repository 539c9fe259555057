// setup32-check MEDIUM [options]: dry-runs a distribution medium on the
// simulated Windows versions and says what is wrong with its script.
#include <iostream>

#include "check/command_line.h"

int main(int argc, char** argv) {
    return setup32::check::RunCommand(argc, argv, std::cout, std::cerr);
}
