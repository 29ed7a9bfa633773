#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/byte_source.h"

namespace murmelix {

// A file the user named, opened for reading. Opening never blocks (a FIFO without a
// writer would wait forever), and only files that have an end are taken: a device such as
// /dev/zero never ends and a FIFO cannot be read twice, so documents and sessions accept
// regular files alone. Reads compare what arrives with the size the file had when it was
// opened, so a file that shrinks or vanishes under the reader is an error, not a crash.
class InputFile : public ByteSource {
  public:
    // Failures of our own, beside the errno values.
    static constexpr int kNotRegularFile = -1;
    static constexpr int kChangedWhileReading = -2;

    enum class Accept {
        RegularFiles,
        RegularFilesAndDevices,  // character devices too (a source of endless bytes)
    };

    InputFile() = default;
    ~InputFile() override;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // False with error() set when the file cannot be opened or is not of an accepted kind.
    bool open(const std::string& path, Accept accept = Accept::RegularFiles);
    void close();

    int error() const { return error_; }
    std::string reason() const { return describeError(error_); }

    // The size at opening; 0 for devices.
    uint64_t size() const override { return size_; }
    bool read(uint64_t offset, void* out, size_t count) override;
    std::string failure() const override { return error_ != 0 ? reason() : std::string(); }

    // The whole file as it was when opened.
    bool readAll(std::string& contents);

    // Hands the descriptor, back in blocking mode, to the caller, who closes it.
    int release();

    // The errno text, or the text of one of the failures above.
    static std::string describeError(int error);

  private:
    int fd_ = -1;
    uint64_t size_ = 0;
    int error_ = 0;
};

}  // namespace murmelix
