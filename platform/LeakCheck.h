#pragma once

// Under LeakSanitizer, looks for leaks at exit before the toolkit's own exit
// handler unloads the GL driver, while the driver's allocations can still be
// told apart by module name. Call right after the window is created.
// Without the sanitizer it does nothing.
void CheckLeaksBeforeTheDriverUnloads();
