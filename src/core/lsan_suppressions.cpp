// Leak-checker suppressions for sanitized builds: the Firebird client and its embedded engine keep
// process-lifetime allocations (ICU tables, plugin state) that they never free.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libicuuc\n"
         "leak:libicui18n\n"
         "leak:libfbclient\n"
         "leak:libEngine12\n"
         "leak:libEngine13\n";
}
