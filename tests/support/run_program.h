#pragma once
// Runs a built program as a child process with some environment variables
// changed, and collects what it writes to the terminal.

#ifndef _WIN32

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace tarvel::test {

struct ProgramRun {
    int exitCode = -1;   // -1 when it could not be started or did not end normally
    std::string output;  // standard output and standard error together
};

// Each entry sets a variable, or removes it when it has no value.
using Environment = std::map<std::string, std::optional<std::string>>;

inline ProgramRun runProgram(const std::filesystem::path& program, const Environment& changes)
{
    std::vector<std::string> entries;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view entry(*e);
        if (!changes.contains(std::string(entry.substr(0, entry.find('=')))))
            entries.emplace_back(entry);
    }
    for (const auto& [name, value] : changes)
        if (value) entries.push_back(name + "=" + *value);
    std::vector<char*> envp;
    for (auto& entry : entries) envp.push_back(entry.data());
    envp.push_back(nullptr);

    std::string captured = (std::filesystem::temp_directory_path() / "tarvel-run-XXXXXX").string();
    const int out = mkstemp(captured.data());
    if (out < 0) return {};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out, STDERR_FILENO);
    std::string path = program.string();
    char* argv[] = {path.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);

    ProgramRun run;
    int status = 0;
    if (spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    lseek(out, 0, SEEK_SET);
    char buffer[4096];
    for (ssize_t n; (n = read(out, buffer, sizeof buffer)) > 0;)
        run.output.append(buffer, std::size_t(n));
    close(out);
    unlink(captured.c_str());
    return run;
}

}  // namespace tarvel::test

#endif
