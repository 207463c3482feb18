#pragma once
// `tarvel box` as a child process, for tests over a real pseudo-terminal:
// its first line is the device to open; lines written go to its standard
// input; what it prints is collected. Every wait is bounded, and the box is
// terminated when the object goes, so a test never hangs on it.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace tarvel::test {

class BoxProcess {
public:
    // Starts `tool box ARGS...`; device() is empty when it did not start.
    BoxProcess(const std::string& tool, const std::vector<std::string>& args)
    {
        int in[2], out[2];
        if (pipe(in) != 0) return;
        if (pipe(out) != 0) {
            closeBoth(in);
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            const int null = open("/dev/null", O_WRONLY);
            if (null >= 0) dup2(null, STDERR_FILENO);
            closeBoth(in);
            closeBoth(out);
            std::vector<std::string> all{tool, "box"};
            all.insert(all.end(), args.begin(), args.end());
            std::vector<char*> argv;
            for (std::string& a : all) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(tool.c_str(), argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        input_ = in[1];
        output_ = out[0];
        if (pid_ < 0) return;
        const std::vector<std::string> first = readLines(10000, 1);
        if (!first.empty()) device_ = first.front();
    }
    ~BoxProcess()
    {
        if (input_ >= 0) close(input_);
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            for (int i = 0; i < 50 && waitpid(pid_, nullptr, WNOHANG) == 0; ++i) usleep(20000);
            if (waitpid(pid_, nullptr, WNOHANG) == 0) {
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
            }
        }
        if (output_ >= 0) close(output_);
    }
    BoxProcess(const BoxProcess&) = delete;
    BoxProcess& operator=(const BoxProcess&) = delete;

    const std::string& device() const { return device_; }

    // A command line to the box (`in 3 on`, `val 1 512`, `id 2 17`).
    void send(const std::string& line)
    {
        const std::string l = line + "\n";
        if (write(input_, l.data(), l.size()) != static_cast<ssize_t>(l.size())) device_.clear();
    }

    // The lines printed since the last call: read until `count` lines came
    // or nothing more arrived for quietMs (at most limitMs in all).
    std::vector<std::string> readLines(int limitMs, std::size_t count = SIZE_MAX, int quietMs = 300)
    {
        std::vector<std::string> lines;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (lines.size() < count) {
            takeLines(lines, count);
            if (lines.size() >= count) break;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  end - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0) break;
            pollfd fd{output_, POLLIN, 0};
            const int wait = count == SIZE_MAX ? std::min<int>(quietMs, static_cast<int>(left))
                                               : static_cast<int>(left);
            if (poll(&fd, 1, wait) <= 0) {
                if (count == SIZE_MAX) break;
                continue;
            }
            char buffer[512];
            const ssize_t n = read(output_, buffer, sizeof buffer);
            if (n <= 0) break;
            pending_.append(buffer, static_cast<std::size_t>(n));
        }
        return lines;
    }

private:
    static void closeBoth(int fds[2])
    {
        close(fds[0]);
        close(fds[1]);
    }
    void takeLines(std::vector<std::string>& lines, std::size_t count)
    {
        for (std::size_t nl;
             lines.size() < count && (nl = pending_.find('\n')) != std::string::npos;) {
            lines.push_back(pending_.substr(0, nl));
            pending_.erase(0, nl + 1);
        }
    }

    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string device_;
    std::string pending_;
};

}  // namespace tarvel::test
