#include "base/atomic_file.h"

#include "base/path_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace murmelix {

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {}

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::open() {
    discard();
    struct stat targetInfo {};
    const bool targetExists = ::stat(target_.c_str(), &targetInfo) == 0;
    if (targetExists && S_ISDIR(targetInfo.st_mode)) {
        return false;
    }
    std::string pattern = folderOf(target_) + "/." + PathText::fileNameOf(target_) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return false;
    }
    temporary_ = name.data();
    // Keep the permissions the user gave the old file; new files get the usual 0666 & ~umask.
    if (targetExists) {
        ::fchmod(fd, targetInfo.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        ::close(fd);
        ::unlink(temporary_.c_str());
        temporary_.clear();
        return false;
    }
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
    position_ = 0;
    failed_ = false;
    return true;
}

bool AtomicFile::write(const void* data, size_t size) {
    if (file_ == nullptr || failed_) {
        return false;
    }
    if (size != 0 && std::fwrite(data, 1, size, file_) != size) {
        failed_ = true;
        return false;
    }
    position_ += size;
    return true;
}

bool AtomicFile::seek(uint64_t offset) {
    if (file_ == nullptr || failed_) {
        return false;
    }
    if (::fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) {
        failed_ = true;
        return false;
    }
    position_ = offset;
    return true;
}

bool AtomicFile::commit() {
    if (file_ == nullptr || failed_) {
        discard();
        return false;
    }
    bool ok = std::fflush(file_) == 0;
    ok = ok && ::fsync(::fileno(file_)) == 0;
    ok = (std::fclose(file_) == 0) && ok;
    file_ = nullptr;
    ok = ok && ::rename(temporary_.c_str(), target_.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary_.c_str());
    }
    temporary_.clear();
    return ok;
}

void AtomicFile::discard() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
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
