#pragma once
// Runs the built grovex-cli as a user or a script would, with the exit status, stdout and stderr.

#include "support/test_paths.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs grovex-cli with `args`; a `launcher` such as "timeout 10" goes before it.
inline CliRun runCli(const std::string& args, const std::string& launcher = {}) {
    static int counter = 0;
    const std::filesystem::path errPath =
        std::filesystem::temp_directory_path() /
        ("grovex-cli-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".err");
    const std::string command = launcher + " '" + grovex::cliPath() + "' " + args + " 2>'" + errPath.string() + "'";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.out.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream errFile(errPath, std::ios::binary);
    run.err.assign(std::istreambuf_iterator<char>(errFile), std::istreambuf_iterator<char>());
    std::filesystem::remove(errPath);
    return run;
}
