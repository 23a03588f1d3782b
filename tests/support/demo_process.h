// The built demo run as a process for the end-to-end tests: a fixture with a
// folder of its own (the test is skipped where the demo or its data.pak is not
// built) and shell commands run headless with their output caught.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/text_files.h"

struct ShellResult {
    int status = -1;
    std::string log;     // stdout, then stderr
    std::string errors;  // stderr alone
};

class DemoProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kBuild / "demo") || !std::filesystem::exists(kBuild / "data.pak"))
            GTEST_SKIP() << "the demo and its data.pak are not built";
        const std::string suite = ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
        folder = std::filesystem::temp_directory_path() / (suite + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        // A program a test started may still be leaving files there as it
        // ends (a browser's profile): what cannot be removed is left behind.
        std::error_code ignored;
        if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
    }

    // Runs `command` in a shell from `directory` with DEMO_HEADLESS set.
    ShellResult Shell(const std::string& command, const std::filesystem::path& directory = kBuild) const {
        const std::filesystem::path out = folder / "out.txt", err = folder / "err.txt";
        const std::string line = "cd '" + directory.string() + "' && DEMO_HEADLESS=1 " + command + " > '" +
                                 out.string() + "' 2> '" + err.string() + "'";
        const int raw = std::system(line.c_str());
        ShellResult result;
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.errors = ReadText(err);
        result.log = ReadText(out) + result.errors;
        return result;
    }
    // The demo with `arguments`, in the build folder unless another is given.
    ShellResult Demo(const std::string& arguments, const std::filesystem::path& directory = kBuild) const {
        return Shell("'" + (kBuild / "demo").string() + "' " + arguments, directory);
    }

    static inline const std::filesystem::path kBuild = DEMO_BINARY_DIR;
    std::filesystem::path folder;
};
