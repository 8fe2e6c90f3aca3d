#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

#include "test_support.h"
#include "test_support_system.h"

namespace testing_support {

namespace fs = std::filesystem;

fs::path makeUniqueFolder() {
    std::string pattern = (fs::temp_directory_path() / "frametally-test-XXXXXX").string();
    return ::mkdtemp(pattern.data()) != nullptr ? fs::path(pattern) : fs::path();
}

bool useCommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) return true;
    }
    // Compiled once per run, into a folder removed at its end; glibc looks in
    // LOCPATH before its own folder.
    static const TempDir folder;
    static const bool compiled = [] {
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + (folder.path() / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        if (folder.path().empty() || std::system(command.c_str()) != 0) return false;
        ::setenv("LOCPATH", folder.path().c_str(), 1);
        return true;
    }();
    return compiled && std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

CommandResult runTiffwalker(const std::vector<std::string>& arguments) {
    CommandResult result;
    TempDir scratch;
    const std::string outPath = (scratch.path() / "out").string();
    const std::string errPath = (scratch.path() / "err").string();
    std::string program = FRAMETALLY_TIFFWALKER_BIN;
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv{program.data()};
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return result;
    int status = 0;
    ::waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const Bytes out = readBytes(outPath);
    const Bytes err = readBytes(errPath);
    result.out.assign(out.begin(), out.end());
    result.err.assign(err.begin(), err.end());
    return result;
}

}  // namespace testing_support
