#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace murmelix {

// The whole contents of a file, read-only, for parsers that work on a byte span. Regular
// files are mapped (no copy: a 200 MB recording costs only the page faults of the bytes
// the parser really touches); anything else (pipes, special files) is read into memory.
//
// A mapped file that another program truncates while it is mapped makes reads beyond the
// new end fault; the WAV reader holds the mapping only for the duration of one load.
class MappedFile {
  public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // False when the file cannot be opened or read.
    bool open(const std::string& path);
    void close();

    std::span<const uint8_t> bytes() const;

  private:
    void* mapping_ = nullptr;
    size_t mappedSize_ = 0;
    std::string buffer_;  // contents of a file that could not be mapped
};

}  // namespace murmelix
