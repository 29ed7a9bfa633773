#pragma once

#include <QFont>
#include <QList>
#include <thread>

namespace murmelix {

// Looks up the main window's first fonts on a thread of its own while the window builds its
// controls. The toolkit keeps its list of the system's fonts and each font's fallback
// families for all threads, and building both takes a good part of the first text the
// window measures. Made once the QApplication stands and ended (joined) before it goes.
class FontLookUp {
  public:
    // The fonts in the order the window needs them.
    explicit FontLookUp(QList<QFont> fonts);
    ~FontLookUp();
    FontLookUp(const FontLookUp&) = delete;
    FontLookUp& operator=(const FontLookUp&) = delete;

  private:
    std::thread reader_;
};

}  // namespace murmelix
