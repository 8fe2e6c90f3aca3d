#include "fake_camera.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

extern char** environ;

// libgphoto2 loads its drivers with libltdl and unloads them when done: the
// few bytes they keep are then reported by LeakSanitizer from a module that
// has gone and has no name, which no suppression can name. The programs that
// read cameras (these tests and the tiffwalker they start) run with the
// sanitizers' other checks only.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
namespace {
const bool kChildrenWithoutLeakCheck = setenv("ASAN_OPTIONS", "detect_leaks=0", 0) == 0;

// libgphoto2 keeps settings of its own in the home folder, which decide what
// it changes on a camera, and writes to them: the camera tests, and the
// programs they start, have a fresh home of their own, as a new user has.
const testing_support::TempDir kHome;
const bool kOwnHome = setenv("HOME", kHome.path().c_str(), 1) == 0;
}  // namespace

FakeCamera::FakeCamera(const std::vector<std::string>& arguments) {
    const std::string portFile = (dir_.path() / "port").string();
    std::vector<std::string> command = {"python3", FRAMETALLY_FAKE_CAMERA, "--state",
                                        (dir_.path() / "state.json").string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : command) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, portFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t child = 0;
    if (posix_spawnp(&child, "python3", &actions, nullptr, argv.data(), environ) == 0) pid_ = child;
    posix_spawn_file_actions_destroy(&actions);
    // Python starts in a fraction of a second; a loaded machine may take some.
    for (int i = 0; pid_ > 0 && i < 300 && port_ == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::ifstream in(portFile);
        int port = 0;
        if (in >> port) port_ = port;
    }
}

FakeCamera::~FakeCamera() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
}

std::string FakeCamera::port() const {
    return "ptpip:127.0.0.1:" + std::to_string(port_) + ":" + std::to_string(port_);
}

nlohmann::json FakeCamera::state() const {
    std::ifstream in(dir_.path() / "state.json");
    return nlohmann::json::parse(in, nullptr, false);
}
