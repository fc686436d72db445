// Test programs that draw run Mesa's software renderer, whose worker threads are still alive
// when the program exits; LeakSanitizer's end-of-run scan of such threads can crash, and what
// it finds belongs to the driver. Leak checking stays on for the layers that do not draw.
extern "C" const char* __lsan_default_options() {
    return "detect_leaks=0";
}
