// The process-wide registry of report classes that templates may name.
#pragma once

namespace zavrik {

// Registers every creatable report class once (idempotent, thread-safe).
void RegisterReportClasses();

}  // namespace zavrik
