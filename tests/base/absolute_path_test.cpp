#include "base/absolute_path.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace murmelix {
namespace {

TEST(AbsolutePath, RelativeNamesStartFromTheCurrentFolder) {
    const std::string here = std::filesystem::current_path().string();
    const struct {
        const char* name;
        std::string expected;
    } cases[] = {
        {"a.wav", here + "/a.wav"},
        {"./x//./y.pcm", here + "/x/y.pcm"},
        {"../up.oqt", here + "/../up.oqt"},
        {"folder/", here + "/folder/"},
        {"/abs/./kept as given", "/abs/./kept as given"},
        {"-", "-"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AbsolutePath::of(c.name), c.expected);
    }
}

}  // namespace
}  // namespace murmelix
