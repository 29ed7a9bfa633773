// Settings for the address sanitizer build of the programs and tests that use the sound
// devices; other builds never call them. Linked into each executable, not into a library.
//
// PortAudio's scan of the sound system loads ALSA plugins (and JACK through one of them)
// whose start-up code keeps a few small allocations for good, which the leak checker
// reports once the plugin is unloaded. They are not ours to fix, so they are suppressed by
// the libraries that load them; that needs full stack traces at allocation time, because
// the plugin's own frames are gone by the time the report is written.

extern "C" {

const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}

const char* __lsan_default_suppressions() {
    return "leak:libasound.so\n"
           "leak:libportaudio.so\n"
           "leak:libjack.so\n"
           "leak:libpulse.so\n"
           // PocketSphinx's phone decoder drops the list of its results each time it traces
           // them back (a static function of its own, so only the list's node is named).
           "leak:glist_add_ptr\n";
}

}  // extern "C"
