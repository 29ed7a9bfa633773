#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/result.h"

namespace murmelix {

// Writes a file so that the target is either its old self or the complete new file:
// the bytes go to a temporary file in the target's folder, which replaces the target
// only on commit(). Destroying an uncommitted writer removes the temporary file.
//
// A symbolic link is written through: the file it leads to is replaced and the link
// stays. Targets that are no plain files (FIFOs, devices, and "-" for standard output)
// cannot be replaced; they get the bytes straight away, so there seek() works only where
// the target itself can seek.
//
// Temporary files are named ".NAME.murmelix-tmp.XXXXXX". A writer that was killed leaves
// one behind; the next open() of the same target removes such leftovers unless another
// writer still holds them.
class AtomicFile {
  public:
    static constexpr std::string_view kStandardOutput = "-";
    static constexpr std::string_view kTemporaryMark = ".murmelix-tmp.";

    explicit AtomicFile(std::string target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // False when the target cannot be written (folder missing or not writable, the target
    // is a folder, a device refuses to open).
    bool open();
    bool write(const void* data, size_t size);
    bool write(const std::string& bytes) { return write(bytes.data(), bytes.size()); }
    bool seek(uint64_t offset);
    uint64_t position() const { return position_; }
    // Flushes, syncs and renames over the target. False leaves the target untouched
    // (written straight: as far as it got).
    bool commit();
    void discard();

    const std::string& target() const { return target_; }
    // The system's error number of the first call that failed; 0 when none failed or the
    // cause is unknown. Every failing call also leaves it in errno.
    int error() const { return error_; }
    bool writesStraight() const { return straight_; }

    // The name a temporary file for `target` starts with, folder included.
    static std::string temporaryPrefix(const std::string& target);
    // Writes `text` as the whole of `path` in one go; failed with "Can't write 'PATH' (why)."
    static Result writeWhole(const std::string& path, std::string_view text);

  private:
    bool fail();
    bool openStraight(int fd);
    bool openTemporary(bool targetExists, unsigned targetMode);

    std::string target_;
    std::string destination_;  // the target with its links followed
    std::string temporary_;
    FILE* file_ = nullptr;
    uint64_t position_ = 0;
    bool failed_ = false;
    bool straight_ = false;
    int error_ = 0;
};

// Whole-file read; false when the file cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& contents);

}  // namespace murmelix
