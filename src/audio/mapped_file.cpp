#include "audio/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/atomic_file.h"

namespace murmelix {

MappedFile::~MappedFile() {
    close();
}

bool MappedFile::open(const std::string& path) {
    close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (regular && info.st_size == 0) {
        ::close(fd);
        return true;
    }
    if (regular) {
        void* mapping =
            ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapping != MAP_FAILED) {
            ::madvise(mapping, static_cast<size_t>(info.st_size), MADV_SEQUENTIAL);
            mapping_ = mapping;
            mappedSize_ = static_cast<size_t>(info.st_size);
            ::close(fd);
            return true;
        }
    }
    ::close(fd);
    return readWholeFile(path, buffer_);
}

void MappedFile::close() {
    if (mapping_ != nullptr) {
        ::munmap(mapping_, mappedSize_);
        mapping_ = nullptr;
        mappedSize_ = 0;
    }
    std::string().swap(buffer_);
}

std::span<const uint8_t> MappedFile::bytes() const {
    if (mapping_ != nullptr) {
        return {static_cast<const uint8_t*>(mapping_), mappedSize_};
    }
    return {reinterpret_cast<const uint8_t*>(buffer_.data()), buffer_.size()};
}

}  // namespace murmelix
