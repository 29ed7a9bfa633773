#pragma once

#include <string>

namespace murmelix {

// A library the program opens when it first needs it rather than at its start: the dynamic
// loader's work for the sound and speech libraries and all they pull in (codecs, sound
// systems, numerics) would otherwise hold up every start, the window's first appearance among
// them. Once opened it stays loaded until the process ends.
class SharedLibrary {
  public:
    // file: the library's file name as the dynamic loader finds it ("libsndfile.so.1").
    explicit SharedLibrary(const char* file);
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // False when the library, or one of the functions bound so far, is missing.
    bool loaded() const { return failure_.empty(); }
    // Why not, naming the library: for the person to install it.
    const std::string& failure() const { return failure_; }

    // Points function at the library's function of that name (null when it is missing).
    template <typename Function>
    void bind(Function& function, const char* name) {
        function = reinterpret_cast<Function>(symbol(name, true));
    }
    // The same for a function the program can do without: its absence is no failure.
    template <typename Function>
    void bindIfPresent(Function& function, const char* name) {
        function = reinterpret_cast<Function>(symbol(name, false));
    }

  private:
    void* symbol(const char* name, bool needed);

    std::string file_;
    void* handle_ = nullptr;
    std::string failure_;
};

}  // namespace murmelix
