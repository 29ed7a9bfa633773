#include "base/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace murmelix {

namespace {

bool accepted(mode_t mode, InputFile::Accept accept) {
    return S_ISREG(mode) || (accept == InputFile::Accept::RegularFilesAndDevices && S_ISCHR(mode));
}

}  // namespace

InputFile::~InputFile() {
    close();
}

bool InputFile::open(const std::string& path, Accept accept) {
    close();
    error_ = 0;
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = errno;
        return false;
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        error_ = errno;
        close();
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error_ = EISDIR;
        close();
        return false;
    }
    if (!accepted(info.st_mode, accept)) {
        error_ = kNotRegularFile;
        close();
        return false;
    }
    size_ = S_ISREG(info.st_mode) ? static_cast<uint64_t>(info.st_size) : 0;
    return true;
}

void InputFile::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    size_ = 0;
}

bool InputFile::read(uint64_t offset, void* out, size_t count) {
    auto* to = static_cast<char*>(out);
    while (count > 0) {
        const ssize_t got = ::pread(fd_, to, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error_ = errno;
            return false;
        }
        if (got == 0) {
            // The size taken at opening promised these bytes.
            error_ = offset < size_ ? kChangedWhileReading : error_;
            return false;
        }
        to += got;
        offset += static_cast<uint64_t>(got);
        count -= static_cast<size_t>(got);
    }
    return true;
}

bool InputFile::readAll(std::string& contents) {
    contents.assign(static_cast<size_t>(size_), '\0');
    if (!read(0, contents.data(), contents.size())) {
        contents.clear();
        return false;
    }
    return true;
}

int InputFile::release() {
    const int fd = fd_;
    if (fd >= 0) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0) {
            ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        }
    }
    fd_ = -1;
    size_ = 0;
    return fd;
}

std::string InputFile::describeError(int error) {
    switch (error) {
        case kNotRegularFile:
            return "not a regular file";
        case kChangedWhileReading:
            return "the file changed while it was being read";
        case 0:
            return "input/output error";
        default:
            return std::strerror(error);
    }
}

}  // namespace murmelix
