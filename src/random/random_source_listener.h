#pragma once

#include <string_view>

namespace murmelix {

// What the owner of a random source hears from it: every draw's log text (the random-number
// log writes it) and a failed refill (a running generation stops there, before the message
// is shown). UI thread.
class RandomSourceListener {
  public:
    virtual ~RandomSourceListener() = default;
    virtual void drawLogged(std::string_view text) { (void)text; }
    virtual void sourceHalted() {}
};

}  // namespace murmelix
