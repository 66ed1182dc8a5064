#include <cstdio>
#include <string>
#include <vector>

#include "Options.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    auto options = zelvic::parseOptions(args);
    if (!options) {
        std::fprintf(stderr, "zelvic: %s\n", options.error().message.c_str());
        return static_cast<int>(options.error().code);
    }
    return 3;
}
