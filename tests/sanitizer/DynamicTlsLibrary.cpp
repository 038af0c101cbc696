// A library whose thread-local block the C library allocates on the heap when
// a thread first touches it, as it does for the GL driver's.
thread_local char t_szScratch[40];

extern "C" char* TouchThreadLocal() {
    t_szScratch[0] = 1;
    return t_szScratch;
}
