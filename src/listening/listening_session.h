#pragma once

#include <set>
#include <string>

#include "base/result.h"
#include "listening/listening_test.h"

namespace murmelix {

// One listener going through a listening test, clip by clip in the test's order, each answer
// kept the moment it is given (a crash loses at most the one being typed). A listener who comes
// back goes on with the first clip they have not answered; what others answered, and what a
// clip is, is never part of it.
class ListeningSession {
  public:
    static constexpr const char* kNothing = "nothing";

    // Failed, saying why, when the folder is no test or the listener has no name.
    Result open(const std::string& folder, const std::string& listener);

    // None once every clip is answered.
    const ListeningClip* current() const;
    std::string currentPath() const;
    int position() const { return static_cast<int>(next_) + 1; }  // of the current clip, from 1
    int count() const { return static_cast<int>(test_.clips.size()); }
    const std::string& listener() const { return listener_; }

    // Keeps the answer to the current clip and moves on. An empty answer is refused: hearing
    // nothing is answered with kNothing.
    Result answer(const std::string& text);

  private:
    void skipAnswered();

    std::string folder_;
    std::string listener_;
    ListeningTest test_;
    std::set<std::string> answered_;
    size_t next_ = 0;
};

}  // namespace murmelix
