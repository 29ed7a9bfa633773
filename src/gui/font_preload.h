#pragma once

#include <thread>

namespace murmelix {

// Reads the system's font configuration on a thread of its own while the application starts:
// the first text the main window measures would otherwise wait for it (a good part of the
// time until the window appears). Qt reads it through fontconfig, which takes a reading
// already made by another thread. Made before the QApplication, ended (joined) with main.
class FontPreload {
  public:
    FontPreload();
    ~FontPreload();
    FontPreload(const FontPreload&) = delete;
    FontPreload& operator=(const FontPreload&) = delete;

  private:
    std::thread reader_;
};

}  // namespace murmelix
