// Defaults for the sanitizer runtimes, linked into the game and the test
// programs. Without a sanitizer nothing calls these.

extern "C" {

// The GL driver, X and the toolkit keep allocations for the life of the
// process; they are not ours to free.
const char* __lsan_default_suppressions() {
    return "leak:libGLX\n"
           "leak:libGL.so\n"
           "leak:libGLU\n"
           "leak:libX11\n"
           "leak:libxcb\n"
           "leak:libglut\n"
           "leak:_dri.so\n"
           "leak:libLLVM\n"
           "leak:libgallium\n"
           "leak:libglapi\n";
}

const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

}  // extern "C"
