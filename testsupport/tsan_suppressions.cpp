// ThreadSanitizer's suppressions, compiled into every test of a thread build.
// Debian's Qt libraries are not built for ThreadSanitizer, so races it
// reports inside them are noise.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libQt6Core.so.6\n"
           "race:libQt6Gui.so.6\n"
           "race:libQt6Widgets.so.6\n";
}
