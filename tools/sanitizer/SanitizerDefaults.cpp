// Built into every program of a KOVRA_SANITIZE build, so that a program or
// test run by hand reports exactly what the CI run reports.  The sanitizer
// runtimes ask the program for these at start.
#define KOVRA_SANITIZER_HOOK extern "C" __attribute__((visibility("default"), used))

// Qt hands font lookups to fontconfig and never calls FcFini, so
// fontconfig's caches are still allocated at the process end.  Qt's own
// print dialog (the printer's プロパティ) leaves libcups's PPD cache and
// option lists of each printer it showed.  Nothing of ours is allocated
// there; every other leak is reported.
KOVRA_SANITIZER_HOOK const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:_ppdCacheCreateWithPPD\nleak:cupsAddOption\n";
}

KOVRA_SANITIZER_HOOK const char* __ubsan_default_options()
{
    return "print_stacktrace=1";
}
