#include "base/absolute_path.h"

#include <unistd.h>

#include <string_view>
#include <vector>

namespace murmelix {

namespace {

std::string currentFolder() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (buffer.size() > (1u << 20)) {
            return std::string();
        }
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

}  // namespace

std::string AbsolutePath::of(const std::string& name) {
    if (name.empty() || name == "-" || name.front() == '/') {
        return name;
    }
    const std::string folder = currentFolder();
    if (folder.empty()) {
        return name;
    }
    // "." parts and doubled slashes go; ".." stays, as it means something else after a link.
    std::string path = folder == "/" ? std::string() : folder;
    std::string_view rest = name;
    while (!rest.empty()) {
        const size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (!part.empty() && part != ".") {
            path.append("/").append(part);
        }
    }
    if (path.empty() || name.back() == '/') {
        path.push_back('/');
    }
    return path;
}

}  // namespace murmelix
