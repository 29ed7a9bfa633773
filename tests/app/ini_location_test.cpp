#include "app/ini_location.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "support/scratch_folder.h"

namespace murmelix {
namespace {

using testing::ScratchFolder;

TEST(IniLocationTest, PrefersTheProgramFolderElseTheConfigurationFolder) {
    ScratchFolder folder;
    const std::string writable = folder.file("bin");
    const std::string holding = folder.file("holding");
    std::filesystem::create_directories(writable);
    std::filesystem::create_directories(holding);
    ASSERT_TRUE(IniFile("[S]\n").saveFile(holding + "/murmelix.ini"));
    // A "program folder" that is a file: nothing can be created in it.
    ASSERT_TRUE(IniFile("").saveFile(folder.file("plainfile")));

    struct Case {
        std::string executable;
        std::string xdg;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {writable + "/murmelix", "/xdg", writable + "/murmelix.ini"},
        {holding + "/murmelix", "/xdg", holding + "/murmelix.ini"},
        {folder.file("gone/murmelix"), "/xdg", "/xdg/murmelix/murmelix.ini"},
        {folder.file("plainfile/murmelix"), "/xdg/", "/xdg/murmelix/murmelix.ini"},
        {folder.file("gone/murmelix"), "", "/home/u/.config/murmelix/murmelix.ini"},
        {folder.file("gone/murmelix"), "relative", "/home/u/.config/murmelix/murmelix.ini"},
        {"", "/xdg", "/xdg/murmelix/murmelix.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.executable << " " << c.xdg);
        EXPECT_EQ(IniLocation::resolve({c.executable, c.xdg, "/home/u"}), c.expected);
    }
}

TEST(IniLocationTest, CurrentEnvironmentNamesThisExecutable) {
    const auto environment = IniLocation::current();
    EXPECT_EQ(std::filesystem::path(environment.executablePath).filename(), "app_test");
    EXPECT_FALSE(environment.home.empty());
}

TEST(IniLocationTest, PrepareFolderCreatesMissingFolders) {
    ScratchFolder folder;
    ASSERT_TRUE(IniFile("").saveFile(folder.file("plainfile")));
    struct Case {
        std::string ini;
        bool ok;
    };
    const std::vector<Case> cases = {
        {folder.file("a/b/murmelix.ini"), true},
        {folder.file("murmelix.ini"), true},
        {folder.file("plainfile/sub/murmelix.ini"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini);
        int error = 0;
        EXPECT_EQ(IniLocation::prepareFolder(c.ini, &error), c.ok);
        EXPECT_EQ(std::filesystem::is_directory(std::filesystem::path(c.ini).parent_path()), c.ok);
        EXPECT_EQ(error != 0, !c.ok);
    }
}

}  // namespace
}  // namespace murmelix
