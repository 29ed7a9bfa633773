#pragma once

#include <string>

#include "base/result.h"
#include "listening/listening_test.h"

namespace murmelix {

// The key of a listening test, "key.json" in its folder: everything the listeners must not
// see. A folder that was edited by hand or damaged is refused with a message that names the
// file and what is wrong; nothing of it is half-read.
class ListeningTestFile {
  public:
    static constexpr const char* kKeyName = "key.json";
    static std::string keyPath(const std::string& folder) { return folder + "/" + kKeyName; }

    static Result read(const std::string& folder, ListeningTest& out);
    // Written atomically.
    static Result write(const std::string& folder, const ListeningTest& test);
    static std::string text(const ListeningTest& test);
    static Result parse(const std::string& text, const std::string& path, ListeningTest& out);
};

}  // namespace murmelix
