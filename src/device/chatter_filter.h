#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

namespace murmelix {

// Keeps the sound libraries' own debugging lines off the terminal. PortAudio prints each
// internal failure ("Expression '...' failed in 'src/hostapi/alsa/...'") to stderr and has
// no switch for it; our own message already says what went wrong, in words a user can act
// on. While an object of this class lives, the process's stderr stream goes through a
// filter that drops those lines and passes everything else on to the same descriptor at
// once. Writes straight to the descriptor (the sanitizers' reports) are not touched.
//
// Make one at the start of main(), before any sound library runs; not for other threads.
class ChatterFilter {
  public:
    ChatterFilter();
    ~ChatterFilter();
    ChatterFilter(const ChatterFilter&) = delete;
    ChatterFilter& operator=(const ChatterFilter&) = delete;

    // A whole line (with or without its line break) that the sound libraries print for
    // themselves.
    static bool isChatter(std::string_view line);

  private:
    static ssize_t write(void* self, const char* data, size_t size);
    static int close(void* self);

    // Text that may still turn out to be chatter: the start of a line held back until its
    // end shows what it is.
    void take(std::string_view text);
    void pass(std::string_view text) const;
    bool mayBecomeChatter() const;

    FILE* original_ = nullptr;
    FILE* filtered_ = nullptr;
    int fd_ = 2;
    char line_[512];
    size_t held_ = 0;
    bool passing_ = false;  // the current line is ours: passed on as it comes
};

}  // namespace murmelix
