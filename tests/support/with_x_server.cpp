// Runs a command on a virtual X server of its own, which ends with it:
//   with_x_server [--screen WIDTHxHEIGHTxDEPTH] COMMAND [ARGUMENT...]
// The command sees the server in DISPLAY; its exit status is this program's
// (128 + the signal when a signal ended it).

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "support/VirtualXServer.h"

namespace {

pid_t command = -1;

// A test runner's timeout or Ctrl+C reaches the command too.
void passOn(int signal) {
    if (command > 0) {
        ::kill(command, signal);
    }
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    std::string screen = "1024x768x24";
    if (argc > 2 && std::strcmp(argv[1], "--screen") == 0) {
        screen = argv[2];
        first = 3;
    }
    if (first >= argc) {
        std::cerr << "usage: with_x_server [--screen WxHxD] COMMAND [ARGUMENT...]\n";
        return 2;
    }
    const pelorine::testing::VirtualXServer server(screen);
    if (!server.ready()) {
        std::cerr << "with_x_server: " << server.failure() << "\n";
        return 1;
    }
    ::setenv("DISPLAY", server.display().c_str(), 1);
    ::unsetenv("XAUTHORITY");
    command = ::fork();
    if (command < 0) {
        std::cerr << "with_x_server: cannot start the command\n";
        return 1;
    }
    if (command == 0) {
        ::execvp(argv[first], argv + first);
        std::cerr << "with_x_server: cannot run " << argv[first] << ": " << std::strerror(errno)
                  << "\n";
        ::_exit(127);
    }
    ::signal(SIGTERM, passOn);
    ::signal(SIGINT, passOn);
    int status = 0;
    while (::waitpid(command, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}
