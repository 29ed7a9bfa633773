#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/scratch_folder.h"

namespace murmelix::testing {

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

// Runs the built murmelix-cli in a private folder per test. "{dir}" in arguments and in
// texts passed through expand() stands for that folder.
class CliFixture : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return scratch_.file(name); }

    void writeFile(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }

    static std::string slurp(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string expand(std::string text) const {
        for (size_t at; (at = text.find("{dir}")) != std::string::npos;) {
            text.replace(at, 5, scratch_.path().string());
        }
        return text;
    }

    // arguments: everything after "murmelix-cli", shell-quoted by the caller where needed.
    // With `inFolder` the tool runs with the test's folder as its current folder; `program`
    // runs another program the same way (a reader of what the tool wrote).
    CliResult run(const std::string& arguments, bool inFolder = false,
                  const std::string& program = MURMELIX_CLI) const {
        const std::string out = path("stdout.txt");
        const std::string err = path("stderr.txt");
        const std::string command =
            (inFolder ? "cd '" + scratch_.path().string() + "' && '" : "'") + program + "' " +
            expand(arguments) + " >'" + out + "' 2>'" + err + "' </dev/null";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
    }

    ScratchFolder scratch_;
};

}  // namespace murmelix::testing
