// The program's answers to the Firebird engine's search for ICU (icu_probe_filter.cpp).
#pragma once

namespace zavrik::driver {

// Lists the library directories the answers need; done on the start-up thread before the engine
// asks, so that the attach does not wait for it. Later calls, and the first question, add only
// the directories of objects loaded since.
void PrepareIcuProbeAnswers();

}  // namespace zavrik::driver
