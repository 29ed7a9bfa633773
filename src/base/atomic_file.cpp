#include "base/atomic_file.h"

#include "base/input_file.h"
#include "base/path_text.h"
#include "base/text_format.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace murmelix {

namespace {

constexpr int kMaxLinks = 40;
constexpr size_t kRandomPart = 6;  // mkstemp's XXXXXX
// Longest file name the usual file systems take, and what a temporary name adds to it.
constexpr size_t kMaxNameBytes = 255;
constexpr size_t kTemporaryStemBytes =
    kMaxNameBytes - 1 - AtomicFile::kTemporaryMark.size() - kRandomPart;

std::string folderOf(const std::string& path) {
    const std::string folder = PathText::folderOf(path);
    return folder.empty() ? std::string(".") : folder;
}

// The file a name leads to once every symbolic link is followed; the name itself when it
// is no link. A dangling link gives the missing file it names, which the save creates.
// Empty when the links go round in circles.
std::string followLinks(std::string path) {
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::vector<char> text(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 2);
        const ssize_t length = ::readlink(path.c_str(), text.data(), text.size() - 1);
        if (length < 0) {
            return path;
        }
        std::string next(text.data(), static_cast<size_t>(length));
        path = next.front() == '/' ? next : folderOf(path) + "/" + next;
    }
    return std::string();
}

// Temporary files of this target that their writer left behind when it was killed. One
// that a running writer still holds (it keeps a lock on it) is left alone.
void removeLeftovers(const std::string& destination) {
    const std::string folder = folderOf(destination);
    const std::string prefix = PathText::fileNameOf(AtomicFile::temporaryPrefix(destination));
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + kRandomPart || name.substr(0, prefix.size()) != prefix) {
            continue;
        }
        const std::string path = folder + "/" + std::string(name);
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) {
            continue;
        }
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlink(path.c_str());
        }
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {}

AtomicFile::~AtomicFile() {
    discard();
}

std::string AtomicFile::temporaryPrefix(const std::string& target) {
    const std::string stem = PathText::fileNameOf(target).substr(0, kTemporaryStemBytes);
    return folderOf(target) + "/." + stem + std::string(kTemporaryMark);
}

bool AtomicFile::fail() {
    if (error_ == 0) {
        error_ = errno;
    }
    failed_ = true;
    errno = error_;
    return false;
}

bool AtomicFile::open() {
    discard();
    failed_ = false;
    straight_ = false;
    error_ = 0;
    position_ = 0;
    if (target_ == kStandardOutput) {
        const int fd = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
        return fd >= 0 ? openStraight(fd) : fail();
    }
    destination_ = followLinks(target_);
    if (destination_.empty()) {
        errno = ELOOP;
        return fail();
    }
    struct stat info {};
    const bool exists = ::stat(destination_.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return fail();
    }
    if (exists && !S_ISREG(info.st_mode)) {
        // A FIFO or a device cannot be replaced, and must not be: it is written in place.
        const int fd = ::open(destination_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        return fd >= 0 ? openStraight(fd) : fail();
    }
    return openTemporary(exists, info.st_mode);
}

bool AtomicFile::openStraight(int fd) {
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        fail();
        ::close(fd);
        errno = error_;
        return false;
    }
    straight_ = true;
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
    return true;
}

bool AtomicFile::openTemporary(bool targetExists, unsigned targetMode) {
    removeLeftovers(destination_);
    const std::string pattern = temporaryPrefix(destination_) + std::string(kRandomPart, 'X');
    int fd = -1;
    // Another save of the same target may take a file it has just created for a leftover
    // before its lock is taken; a name that was removed in that moment is made again.
    for (int attempt = 0; attempt < 3 && fd < 0; ++attempt) {
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) {
            return fail();
        }
        ::flock(fd, LOCK_EX | LOCK_NB);
        struct stat info {};
        if (::fstat(fd, &info) == 0 && info.st_nlink == 0) {
            ::close(fd);
            fd = -1;
            continue;
        }
        temporary_ = name.data();
    }
    if (fd < 0) {
        errno = EAGAIN;
        return fail();
    }
    // Keep the permissions the user gave the old file; new files get the usual 0666 & ~umask.
    if (targetExists) {
        ::fchmod(fd, targetMode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        fail();
        ::close(fd);
        discard();
        return false;
    }
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
    return true;
}

bool AtomicFile::write(const void* data, size_t size) {
    if (file_ == nullptr || failed_) {
        errno = error_;
        return false;
    }
    if (size != 0 && std::fwrite(data, 1, size, file_) != size) {
        return fail();
    }
    position_ += size;
    return true;
}

bool AtomicFile::seek(uint64_t offset) {
    if (file_ == nullptr || failed_) {
        errno = error_;
        return false;
    }
    if (::fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) {
        return fail();
    }
    position_ = offset;
    return true;
}

bool AtomicFile::commit() {
    if (file_ == nullptr || failed_) {
        discard();
        errno = error_;
        return false;
    }
    bool ok = std::fflush(file_) == 0;
    // Devices and pipes have nothing to sync (and some refuse to).
    ok = ok && (straight_ || ::fsync(::fileno(file_)) == 0);
    if (!ok) {
        fail();
    }
    if (std::fclose(file_) != 0 && ok) {
        ok = fail();
    }
    file_ = nullptr;
    if (ok && !straight_ && ::rename(temporary_.c_str(), destination_.c_str()) != 0) {
        ok = fail();
    }
    if (ok) {
        temporary_.clear();
    }
    discard();
    errno = error_;
    return ok;
}

void AtomicFile::discard() {
    const int saved = errno;
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    errno = saved;
}

bool readWholeFile(const std::string& path, std::string& contents) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    contents.clear();
    struct stat info {};
    if (::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        contents.resize(static_cast<size_t>(info.st_size));
        const size_t got = std::fread(contents.data(), 1, contents.size(), file);
        contents.resize(got);
    }
    // Sizes can change under us (or be unknown for pipes): read whatever remains.
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        contents.append(chunk, got);
    }
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

}  // namespace murmelix

namespace murmelix {

Result AtomicFile::writeWhole(const std::string& path, std::string_view text) {
    AtomicFile file(path);
    if (!file.open() || !file.write(text.data(), text.size()) || !file.commit()) {
        return Result::failure(formatText("Can't write '%s' (%s).", path.c_str(),
                                          InputFile::describeError(file.error()).c_str()));
    }
    return Result::success();
}

}  // namespace murmelix
