#pragma once
// Runs the command-line tool as a user runs it, from a shell, and collects
// its exit status, standard output and standard error.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tarvel::test {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuote(const std::string& s)
{
    std::string q = "'";
    for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string slurp(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// `scratch` holds the captured output files.
inline ToolRun runTool(const std::string& tool, const std::vector<std::string>& args,
                       const std::filesystem::path& scratch)
{
    std::string cmd = shellQuote(tool);
    for (const auto& a : args) cmd += " " + shellQuote(a);
    const auto out = scratch / "stdout";
    const auto err = scratch / "stderr";
    cmd += " >" + shellQuote(out.string()) + " 2>" + shellQuote(err.string());
    ToolRun r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
}

}  // namespace tarvel::test
