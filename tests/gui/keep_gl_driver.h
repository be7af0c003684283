#pragma once
// Under LeakSanitizer: Mesa's driver is unloaded when the X connection closes, before the leak
// check at exit, so its own leaks would be reported from an unknown module and could not be
// told from ours. Loading it once more and for good keeps its name in those reports, where
// tests/lsan.supp matches it.
#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>
namespace {
[[maybe_unused]] const bool kGlDriverKept =
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_LAZY | RTLD_NODELETE) != nullptr;
}
#endif
