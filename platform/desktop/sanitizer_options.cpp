// Programs on the desktop backend under the sanitizer build: a crash must stay the signal it is
// (the display mode's watchdog relies on it), and the libraries under SDL and GTK keep a few
// allocations until the process ends, which are not ours.
// Whole stacks are taken so that those allocations are known by the library that made them.
extern "C" const char* __asan_default_options() {
    return "handle_segv=0:fast_unwind_on_malloc=0";
}

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libfontconfig.so\nleak:libatk-bridge-2.0.so\n";
}
