#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("cli_") + info->test_suite_name() + "_" + info->name() + "_" +
                std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

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
            text.replace(at, 5, dir_.string());
        }
        return text;
    }

    // arguments: everything after "murmelix-cli", shell-quoted by the caller where needed.
    // With `inFolder` the tool runs with the test's folder as its current folder.
    CliResult run(const std::string& arguments, bool inFolder = false) const {
        const std::string out = path("stdout.txt");
        const std::string err = path("stderr.txt");
        const std::string command = (inFolder ? "cd '" + dir_.string() + "' && '" : "'") +
                                    MURMELIX_CLI + "' " + expand(arguments) + " >'" + out +
                                    "' 2>'" + err + "' </dev/null";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
    }

    std::filesystem::path dir_;
};

}  // namespace murmelix::testing
