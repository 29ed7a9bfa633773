#include "base/shared_library.h"

#include <gtest/gtest.h>

namespace murmelix {
namespace {

// A missing library or function is reported by name; an optional function is no failure.
TEST(SharedLibrary, ReportsWhatIsMissingByName) {
    const struct {
        const char* file;
        const char* function;
        bool needed;
        bool loaded;
        const char* named;  // in the failure
    } cases[] = {
        {"libm.so.6", "cos", true, true, ""},
        {"libm.so.6", "no_such_function", true, false, "no_such_function"},
        {"libm.so.6", "no_such_function", false, true, ""},
        {"libno-such-library.so.1", "cos", true, false, "libno-such-library.so.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.function);
        SharedLibrary library(c.file);
        double (*function)(double) = nullptr;
        if (c.needed) {
            library.bind(function, c.function);
        } else {
            library.bindIfPresent(function, c.function);
        }
        EXPECT_EQ(library.loaded(), c.loaded);
        EXPECT_NE(library.failure().find(c.named), std::string::npos) << library.failure();
        if (c.loaded && c.needed) {
            ASSERT_NE(function, nullptr);
            EXPECT_DOUBLE_EQ(function(0.0), 1.0);
        }
    }
}

}  // namespace
}  // namespace murmelix
