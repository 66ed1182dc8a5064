#include "cli/CliProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace pelorine::testing {
namespace {

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace

CliProcess::CliProcess(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& home, const std::vector<std::string>& environment) {
    static int counter = 0;
    const std::string tag = std::to_string(++counter);
    outPath_ = home + "cli-out-" + tag + ".txt";
    errPath_ = home + "cli-err-" + tag + ".txt";
    std::vector<std::string> variables = {"HOME=" + home, "XDG_CONFIG_HOME=" + home + "config",
                                          "XDG_RUNTIME_DIR=" + home + "runtime", "LC_ALL=C.UTF-8",
                                          "PATH=/usr/bin:/bin"};
    variables.insert(variables.end(), environment.begin(), environment.end());
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());

    std::vector<char*> argvPointers, envPointers;
    for (std::string& argument : argv) {
        argvPointers.push_back(argument.data());
    }
    argvPointers.push_back(nullptr);
    for (std::string& variable : variables) {
        envPointers.push_back(variable.data());
    }
    envPointers.push_back(nullptr);

    ::mkdir((home + "runtime").c_str(), 0700);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    if (::posix_spawn(&pid_, argvPointers[0], &actions, &attributes, argvPointers.data(),
                      envPointers.data()) != 0) {
        pid_ = -1;
    }
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
}

CliProcess::~CliProcess() {
    if (pid_ > 0) {
        ::kill(-pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

void CliProcess::interrupt() const {
    if (pid_ > 0) {
        ::kill(-pid_, SIGINT);
    }
}

std::string CliProcess::outSoFar() const {
    return contentOf(outPath_);
}

std::string CliProcess::errSoFar() const {
    return contentOf(errPath_);
}

Finished CliProcess::wait() {
    Finished finished;
    if (pid_ <= 0) {
        finished.err = "the program could not be started";
        return finished;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(-pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    finished.out = outSoFar();
    finished.err = errSoFar();
    return finished;
}

Finished runCli(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& home, const std::vector<std::string>& environment) {
    CliProcess process(program, arguments, home, environment);
    return process.wait();
}

}  // namespace pelorine::testing
