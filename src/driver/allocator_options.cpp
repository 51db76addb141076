// jemalloc's options for the program, read by the allocator before its first allocation (the
// MALLOC_CONF environment variable still overrides them).
//
// Transparent huge pages for the heap: a listing's prepared pages and rows grow the heap by tens
// of megabytes, and on virtual machines a 4 KB page fault costs more than the work done on the
// page. The price is up to a few huge pages of resident memory per arena.
//
// One arena: the work is done on the main thread, and each of the Firebird client's threads would
// otherwise get an arena of its own whose first huge page is zeroed for a few allocations.
extern "C" {
extern const char* const malloc_conf;
const char* const malloc_conf = "thp:always,narenas:1";
}
