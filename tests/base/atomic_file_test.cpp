#include "base/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "support/scratch_folder.h"

namespace murmelix {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
  protected:
    std::string path(const char* name) const { return scratch_.file(name); }
    testing::ScratchFolder scratch_;
};

TEST_F(AtomicFileTest, CommitReplacesTargetAndSeekPatchesEarlierBytes) {
    const std::string target = path("out.bin");
    ASSERT_TRUE(fs::exists(scratch_.path()));
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
    EXPECT_EQ(scratch_.entries(), 1u) << "no temporary file may remain";
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
    EXPECT_EQ(scratch_.entries(), 1u);

    AtomicFile intoMissingFolder(path("missing/sub/file.txt"));
    EXPECT_FALSE(intoMissingFolder.open());
    AtomicFile ontoFolder(scratch_.path().string());
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

// Links are written through, and what cannot be replaced is written in place.
TEST_F(AtomicFileTest, TargetsThatAreNoPlainFiles) {
    const auto save = [](const std::string& target, const std::string& bytes) {
        AtomicFile file(target);
        const bool ok = file.open() && file.write(bytes) && file.commit();
        return ok ? 0 : file.error();
    };
    std::ofstream(path("real.txt")) << "old";
    ::chmod(path("real.txt").c_str(), 0604);
    fs::create_symlink("real.txt", path("link.txt"));
    fs::create_symlink("link.txt", path("chain.txt"));
    fs::create_symlink("gone.txt", path("dangling.txt"));
    fs::create_symlink("loop.txt", path("loop.txt"));
    struct Case {
        const char* name;
        std::string target;
        std::string readBack;  // the file that must hold the new bytes
        int error;
    };
    const Case cases[] = {
        {"link to a file", path("link.txt"), path("real.txt"), 0},
        {"link to a link", path("chain.txt"), path("real.txt"), 0},
        {"dangling link creates its file", path("dangling.txt"), path("gone.txt"), 0},
        {"link to itself", path("loop.txt"), "", ELOOP},
        {"device that takes everything", "/dev/null", "", 0},
        {"device that is full", "/dev/full", "", ENOSPC},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(save(c.target, std::string(100000, 'n')), c.error);
        if (!c.readBack.empty()) {
            std::string contents;
            ASSERT_TRUE(readWholeFile(c.readBack, contents));
            EXPECT_EQ(contents, std::string(100000, 'n'));
            EXPECT_TRUE(fs::is_symlink(c.target));
        }
    }
    struct stat info {};
    ASSERT_EQ(::stat(path("real.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0604u) << "the linked file keeps its permissions";
    EXPECT_EQ(::access("/dev/null", W_OK), 0) << "the device node stays";

    // A FIFO gets the bytes while they are written; no file appears beside it.
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    std::string piped;
    std::thread reader([&] { readWholeFile(path("fifo"), piped); });
    EXPECT_EQ(save(path("fifo"), "through the pipe"), 0);
    reader.join();
    EXPECT_EQ(piped, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(path("fifo")));

    // "-" is standard output.
    const int savedOut = ::dup(STDOUT_FILENO);
    const int captured = ::open(path("stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(captured, STDOUT_FILENO);
    const int stdoutError = save("-", "to standard output");
    ::dup2(savedOut, STDOUT_FILENO);
    ::close(savedOut);
    ::close(captured);
    EXPECT_EQ(stdoutError, 0);
    std::string out;
    ASSERT_TRUE(readWholeFile(path("stdout.txt"), out));
    EXPECT_EQ(out, "to standard output");
    EXPECT_FALSE(fs::exists(path("-")));
}

TEST_F(AtomicFileTest, LeftoversOfAKilledSaveGoAtTheNextSave) {
    const std::string target = path("out.wav");
    const std::string prefix = AtomicFile::temporaryPrefix(target);
    EXPECT_EQ(prefix, path(".out.wav.murmelix-tmp."));
    std::ofstream(prefix + "Ab12Cd") << "half a file";
    std::ofstream(prefix + "zz99yy") << "another";
    std::ofstream(AtomicFile::temporaryPrefix(path("other.wav")) + "Ab12Cd") << "not ours";
    std::ofstream(prefix + "toolong7") << "no temporary name";
    std::ofstream(path("out.wav.Ab12Cd")) << "the user's";
    // One that a running save still writes stays.
    const std::string held = prefix + "held01";
    std::ofstream(held) << "in use";
    const int holder = ::open(held.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    AtomicFile file(target);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("new"));
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(scratch_.path())) {
        names.insert(entry.path().filename().string());
    }
    const std::set<std::string> kept = {".other.wav.murmelix-tmp.Ab12Cd",
                                        ".out.wav.murmelix-tmp.held01",
                                        ".out.wav.murmelix-tmp.toolong7", "out.wav.Ab12Cd"};
    EXPECT_EQ(names.size(), kept.size() + 1) << "the leftovers are gone, the new one is there";
    EXPECT_TRUE(std::includes(names.begin(), names.end(), kept.begin(), kept.end()));
    ASSERT_TRUE(file.commit());
    ::close(holder);
    EXPECT_TRUE(fs::exists(held));
}

}  // namespace
}  // namespace murmelix
