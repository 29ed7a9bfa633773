#include "audio/sndfile_stream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "audio/sndfile_functions.h"
#include "audio/sndfile_guard.h"
#include "base/text_format.h"

namespace murmelix {

SndfileStream::SndfileStream(ByteSource& source) : source_(source), size_(source.size()) {}

SndfileStream::~SndfileStream() {
    if (file_ != nullptr) {
        SndfileFunctions::get().sf_close(file_);
    }
}

bool SndfileStream::open() {
    if (!SndfileFunctions::get().loaded()) {
        error_ = SF_ERR_SYSTEM;
        return false;
    }
    refusal_ = SndfileGuard::refusal(source_);
    if (!refusal_.empty()) {
        error_ = SF_ERR_MALFORMED_FILE;
        return false;
    }
    SF_VIRTUAL_IO io{};
    io.get_filelen = &SndfileStream::length;
    io.seek = &SndfileStream::seek;
    io.read = &SndfileStream::read;
    io.write = &SndfileStream::write;
    io.tell = &SndfileStream::tell;
    info_ = SF_INFO{};
    file_ = SndfileFunctions::get().sf_open_virtual(&io, SFM_READ, &info_, this);
    error_ = file_ == nullptr ? SndfileFunctions::get().sf_error(nullptr) : SF_ERR_NO_ERROR;
    return file_ != nullptr;
}

std::string SndfileStream::openFailure(const std::string& name) const {
    if (!SndfileFunctions::get().loaded()) {
        return formatText("Can't read sound file '%s': %s", name.c_str(),
                          SndfileFunctions::get().failure().c_str());
    }
    if (!refusal_.empty()) {
        return formatText("'%s' cannot be read: %s.", name.c_str(), refusal_.c_str());
    }
    return formatText("'%s' is not a sound file libsndfile knows (%s).", name.c_str(),
                      errorText().c_str());
}

std::string SndfileStream::errorText() const {
    switch (error_) {
        case SF_ERR_UNRECOGNISED_FORMAT:
            return "unknown format";
        case SF_ERR_MALFORMED_FILE:
            return "malformed file";
        case SF_ERR_UNSUPPORTED_ENCODING:
            return "unsupported encoding";
        default:
            break;
    }
    // libsndfile's sentences ("Error in WAV file. No 'data' chunk marker.") read as a
    // reason in parentheses once the first letter is small and the last full stop gone.
    std::string text = SndfileFunctions::get().sf_error_number(error_);
    while (!text.empty() && (text.back() == '.' || text.back() == ' ' || text.back() == '\n')) {
        text.pop_back();
    }
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z' &&
        !(text.size() > 1 && text[1] >= 'A' && text[1] <= 'Z')) {
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    }
    return text;
}

sf_count_t SndfileStream::length(void* self) {
    return static_cast<sf_count_t>(static_cast<SndfileStream*>(self)->size_);
}

sf_count_t SndfileStream::seek(sf_count_t offset, int whence, void* self) {
    auto* stream = static_cast<SndfileStream*>(self);
    int64_t base = 0;
    if (whence == SEEK_CUR) {
        base = static_cast<int64_t>(stream->position_);
    } else if (whence == SEEK_END) {
        base = static_cast<int64_t>(stream->size_);
    }
    const int64_t target = base + offset;
    if (target < 0) {
        return -1;
    }
    // Past the end is allowed, as with a file; reads there give nothing.
    stream->position_ = static_cast<uint64_t>(target);
    return target;
}

sf_count_t SndfileStream::read(void* out, sf_count_t count, void* self) {
    auto* stream = static_cast<SndfileStream*>(self);
    if (count <= 0 || stream->position_ >= stream->size_ || !stream->failure_.empty()) {
        return 0;
    }
    const uint64_t n =
        std::min<uint64_t>(static_cast<uint64_t>(count), stream->size_ - stream->position_);
    const uint64_t at = stream->position_;
    const bool inWindow =
        at >= stream->windowStart_ && at + n <= stream->windowStart_ + stream->window_.size();
    if (inWindow || (n < kWindowSize && stream->fill(at))) {
        std::memcpy(out, stream->window_.data() + (at - stream->windowStart_), n);
    } else if (!stream->failure_.empty() ||
               !stream->source_.read(at, out, static_cast<size_t>(n))) {
        if (stream->failure_.empty()) {
            stream->failure_ = stream->source_.failure();
        }
        if (stream->failure_.empty()) {
            stream->failure_ = "the file changed while it was being read";
        }
        return 0;
    }
    stream->position_ += n;
    return static_cast<sf_count_t>(n);
}

bool SndfileStream::fill(uint64_t offset) {
    window_.resize(static_cast<size_t>(std::min<uint64_t>(kWindowSize, size_ - offset)));
    windowStart_ = offset;
    if (!source_.read(offset, window_.data(), window_.size())) {
        window_.clear();
        failure_ = source_.failure();
        if (failure_.empty()) {
            failure_ = "the file changed while it was being read";
        }
        return false;
    }
    return true;
}

sf_count_t SndfileStream::write(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t SndfileStream::tell(void* self) {
    return static_cast<sf_count_t>(static_cast<SndfileStream*>(self)->position_);
}

}  // namespace murmelix
