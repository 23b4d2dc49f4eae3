// ThreadSanitizer's suppressions, built into every program that links Qt in
// a thread build (programs without Qt run with none). None is needed today:
// Qt's own threads record nothing (qt_threads_unrecorded.cpp) and work
// crosses to the GUI thread through platform::post_queued, which shows the
// checker the hand-over. A rule may name one Qt function whose own accesses
// race only with Qt's bookkeeping, with the report's frames and a one-line
// reason beside it; never a whole library, since a library rule matches a
// frame anywhere in either stack and so hides our races that pass through it.
extern "C" const char* __tsan_default_suppressions() { return ""; }
