// Defaults for the sanitizer runtimes, linked into the game and the test
// programs. Without a sanitizer nothing calls these.

extern "C" {

// The GL driver, X and the toolkit keep allocations for the life of the
// process; they are not ours to free. The last three are reachable only from
// thread-local storage, which the leak checker does not scan (below): the
// dynamic linker's tables of loaded libraries, and GoogleTest's per-thread
// stack of traces and reporter of failures.
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
           "leak:libglapi\n"
           "leak:ld-linux\n"
           "leak:testing::internal::ThreadLocal\n"
           "leak:GetTestPartResultReporterForCurrentThread\n";
}

// Thread-local storage is not scanned for pointers. When a library's
// thread-local block is allocated on the heap 16 bytes past a page boundary,
// the leak checker of clang 14 takes the allocator's chunk header in front of
// it for the C library's block header and scans an address range read from
// it; the scan faults at a small address and the whole leak check dies. Where
// the block lands differs from run to run, so the fault came and went. Our
// code keeps no heap pointers in thread-locals.
// The suppressions used are not listed, so that a clean exit prints nothing.
const char* __lsan_default_options() {
    return "use_tls=0:print_suppressions=0";
}

const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

}  // extern "C"
