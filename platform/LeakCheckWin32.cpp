#include "platform/LeakCheck.h"

// mingw-w64 builds have no leak checker.
void CheckLeaksBeforeTheDriverUnloads() {}
