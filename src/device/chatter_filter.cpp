#include "device/chatter_filter.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace murmelix {

namespace {

// How the sound libraries' own lines begin: PortAudio's failed checks and its ALSA and
// thread helpers, and ALSA's and JACK's messages where their handlers are not ours yet.
constexpr std::array<std::string_view, 6> kChatterStarts = {
    "Expression '",       "PaAlsa", "PaUnixThread", "ALSA lib ", "Cannot connect to server",
    "JackShmReadWritePtr"};

}  // namespace

ChatterFilter::ChatterFilter() {
    cookie_io_functions_t functions{};
    functions.write = &ChatterFilter::write;
    functions.close = &ChatterFilter::close;
    filtered_ = fopencookie(this, "w", functions);
    if (filtered_ == nullptr) {
        return;
    }
    std::fflush(stderr);
    fd_ = fileno(stderr);
    setvbuf(filtered_, nullptr, _IONBF, 0);
    original_ = stderr;
    stderr = filtered_;
}

ChatterFilter::~ChatterFilter() {
    if (filtered_ == nullptr) {
        return;
    }
    stderr = original_;
    std::fclose(filtered_);
}

bool ChatterFilter::isChatter(std::string_view line) {
    return std::any_of(kChatterStarts.begin(), kChatterStarts.end(),
                       [line](std::string_view start) { return line.starts_with(start); });
}

ssize_t ChatterFilter::write(void* self, const char* data, size_t size) {
    static_cast<ChatterFilter*>(self)->take({data, size});
    return static_cast<ssize_t>(size);
}

int ChatterFilter::close(void* self) {
    auto* filter = static_cast<ChatterFilter*>(self);
    filter->pass({filter->line_, filter->held_});
    filter->held_ = 0;
    return 0;
}

void ChatterFilter::take(std::string_view text) {
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view piece = text.substr(0, end == text.npos ? text.size() : end + 1);
        text.remove_prefix(piece.size());
        const bool lineEnds = piece.back() == '\n';
        if (passing_) {
            pass(piece);
        } else if (held_ + piece.size() <= sizeof line_) {
            std::memcpy(line_ + held_, piece.data(), piece.size());
            held_ += piece.size();
            if (lineEnds) {
                if (!isChatter({line_, held_})) {
                    pass({line_, held_});
                }
                held_ = 0;
            } else if (!mayBecomeChatter()) {
                pass({line_, held_});  // ours: out at once, not when the line ends
                held_ = 0;
                passing_ = true;
            }
        } else {
            pass({line_, held_});
            pass(piece);
            held_ = 0;
            passing_ = !lineEnds;
        }
        if (lineEnds) {
            passing_ = false;
        }
    }
}

void ChatterFilter::pass(std::string_view text) const {
    while (!text.empty()) {
        const ssize_t written = ::write(fd_, text.data(), text.size());
        if (written <= 0) {
            return;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
}

bool ChatterFilter::mayBecomeChatter() const {
    const std::string_view held(line_, held_);
    return std::any_of(kChatterStarts.begin(), kChatterStarts.end(), [held](std::string_view s) {
        return held.starts_with(s) || s.starts_with(held);
    });
}

}  // namespace murmelix
