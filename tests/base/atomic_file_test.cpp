#include "base/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

namespace murmelix {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("atomic_file_test_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const char* name) const { return (dir_ / name).string(); }
    size_t entries() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {}));
    }
    fs::path dir_;
};

TEST_F(AtomicFileTest, CommitReplacesTargetAndSeekPatchesEarlierBytes) {
    const std::string target = path("out.bin");
    ASSERT_TRUE(fs::exists(dir_));
    {
        AtomicFile old(target);
        ASSERT_TRUE(old.open());
        ASSERT_TRUE(old.write("old contents"));
        ASSERT_TRUE(old.commit());
    }
    AtomicFile file(target);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("xxxx-tail"));
    ASSERT_TRUE(file.seek(0));
    ASSERT_TRUE(file.write("head"));
    std::string before;
    ASSERT_TRUE(readWholeFile(target, before));
    EXPECT_EQ(before, "old contents") << "target must not change before commit";
    ASSERT_TRUE(file.commit());
    std::string after;
    ASSERT_TRUE(readWholeFile(target, after));
    EXPECT_EQ(after, "head-tail");
    EXPECT_EQ(entries(), 1u) << "no temporary file may remain";
}

TEST_F(AtomicFileTest, AbandonedOrImpossibleWritesLeaveTargetAsItWas) {
    const std::string target = path("keep.txt");
    {
        AtomicFile first(target);
        ASSERT_TRUE(first.open());
        ASSERT_TRUE(first.write("precious"));
        ASSERT_TRUE(first.commit());
    }
    {
        AtomicFile abandoned(target);
        ASSERT_TRUE(abandoned.open());
        ASSERT_TRUE(abandoned.write("half"));
    }  // destroyed without commit
    std::string contents;
    ASSERT_TRUE(readWholeFile(target, contents));
    EXPECT_EQ(contents, "precious");
    EXPECT_EQ(entries(), 1u);

    AtomicFile intoMissingFolder(path("missing/sub/file.txt"));
    EXPECT_FALSE(intoMissingFolder.open());
    AtomicFile ontoFolder(dir_.string());
    EXPECT_FALSE(ontoFolder.open());
}

TEST_F(AtomicFileTest, KeepsPermissionsOfReplacedFile) {
    const std::string target = path("mode.txt");
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.commit());
    }
    ::chmod(target.c_str(), 0640);
    AtomicFile file(target);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("x"));
    ASSERT_TRUE(file.commit());
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace murmelix
