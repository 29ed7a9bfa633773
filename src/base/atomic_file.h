#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace murmelix {

// Writes a file so that the target is either its old self or the complete new file:
// the bytes go to a temporary file in the target's folder, which replaces the target
// only on commit(). Destroying an uncommitted writer removes the temporary file.
class AtomicFile {
  public:
    explicit AtomicFile(std::string target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // False when the temporary file cannot be created (folder missing or not writable,
    // or the target is a folder).
    bool open();
    bool write(const void* data, size_t size);
    bool write(const std::string& bytes) { return write(bytes.data(), bytes.size()); }
    bool seek(uint64_t offset);
    uint64_t position() const { return position_; }
    // Flushes, syncs and renames over the target. False leaves the target untouched.
    bool commit();
    void discard();

    const std::string& target() const { return target_; }

  private:
    std::string target_;
    std::string temporary_;
    FILE* file_ = nullptr;
    uint64_t position_ = 0;
    bool failed_ = false;
};

// Whole-file read; false when the file cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& contents);

}  // namespace murmelix
