// A test-only library that exports no plug-in entry point.
extern "C" __attribute__((visibility("default"))) int notAnEntryPoint() { return 0; }
