// Runs a program and prints the seconds from its start until it first maps a top-level
// window on the X display, and the processor time it had used by then, then ends it. The
// processor time depends less on what else the machine is doing.
// Usage: window_clock PROGRAM [ARGUMENT...]
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

namespace {

// Waits for the first MapNotify of a child of the root window; false when the connection
// breaks first.
bool waitForMap(xcb_connection_t* connection) {
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
        if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) {
            return true;
        }
    }
    return false;
}

// Seconds the process has run on a processor so far (the kernel's scheduler statistics).
double processorSeconds(pid_t process) {
    std::ifstream stats("/proc/" + std::to_string(process) + "/schedstat");
    unsigned long long nanoseconds = 0;
    stats >> nanoseconds;
    return static_cast<double>(nanoseconds) / 1e9;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "window_clock: no X display\n");
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        _exit(127);
    }
    const bool mapped = waitForMap(connection);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const double processor = processorSeconds(child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(connection);
    if (!mapped) {
        std::fprintf(stderr, "window_clock: %s mapped no window\n", argv[1]);
        return 1;
    }
    std::printf("%.4f %.4f\n", elapsed.count(), processor);
    return 0;
}
