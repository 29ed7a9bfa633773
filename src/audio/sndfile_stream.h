#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/byte_source.h"

namespace murmelix {

// The file libsndfile reads, served from one of our byte sources instead of a path:
// libsndfile never opens or maps the file itself, reads never reach past the size the
// source had when it was opened, and a source that shrinks or fails under the reader ends
// the stream with a reason (failure()) instead of a crash or a silent short read.
//
// Owns the open libsndfile handle; not copyable. Used by one thread at a time. Holds one
// read-ahead window of kWindowSize bytes besides libsndfile's own state.
class SndfileStream {
  public:
    explicit SndfileStream(ByteSource& source);
    ~SndfileStream();
    SndfileStream(const SndfileStream&) = delete;
    SndfileStream& operator=(const SndfileStream&) = delete;

    // False when libsndfile refuses the bytes, or cannot be loaded; error(), errorText() and
    // openFailure() tell why.
    bool open();

    SNDFILE* handle() const { return file_; }
    const SF_INFO& info() const { return info_; }
    int error() const { return error_; }
    // libsndfile's own text for the refusal.
    std::string errorText() const;
    // The refusal as a sentence about the sound file of that name.
    std::string openFailure(const std::string& name) const;

    // Why the bytes could not be read; empty while they could.
    std::string failure() const { return failure_; }

  private:
    static sf_count_t length(void* self);
    static sf_count_t seek(sf_count_t offset, int whence, void* self);
    static sf_count_t read(void* out, sf_count_t count, void* self);
    static sf_count_t write(const void* in, sf_count_t count, void* self);
    static sf_count_t tell(void* self);

    // libsndfile asks for a few kilobytes at a time; one read of the source per window
    // keeps the system calls few.
    static constexpr size_t kWindowSize = 1u << 20;
    bool fill(uint64_t offset);

    ByteSource& source_;
    uint64_t size_;
    std::vector<uint8_t> window_;
    uint64_t windowStart_ = 0;
    uint64_t position_ = 0;
    std::string failure_;
    SF_INFO info_{};
    SNDFILE* file_ = nullptr;
    int error_ = SF_ERR_NO_ERROR;
    std::string refusal_;  // why the file was not given to libsndfile at all
};

}  // namespace murmelix
