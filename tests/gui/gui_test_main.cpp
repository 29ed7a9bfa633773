#include <gtest/gtest.h>

#include <QApplication>

// The windows need an application object; the tests run without a display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Under a real X server Qt talks to the desktop through D-Bus, whose library keeps an
// allocation for good; the leak checker of the sanitizer build would report it at exit. It
// is not ours to fix.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
