// Linked into the test and fuzz executables of sanitizer builds. The
// environment's ASAN_OPTIONS and UBSAN_OPTIONS still override these.

// Reports are recoverable at compile time so that the suppression file can
// name one; everything it does not name stops the run.
extern "C" const char* __ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1:suppressions=" ORVANTA_UBSAN_SUPPRESSIONS;
}

extern "C" const char* __asan_default_options()
{
    return "detect_leaks=1:abort_on_error=1";
}
