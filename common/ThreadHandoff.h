#pragma once

// Results cross from worker threads to the main thread as queued signals. Qt's
// event queue is guarded by locks that ThreadSanitizer cannot see inside the
// (uninstrumented) Qt libraries, so the hand-over is announced explicitly:
// the worker calls release() before it emits, the receiving slot acquire()
// before it reads. Without ThreadSanitizer both are empty inline functions.

#if defined(ORVIK_TSAN)
extern "C" void __tsan_acquire(void *address);
extern "C" void __tsan_release(void *address);
#endif

namespace ThreadHandoff {

#if defined(ORVIK_TSAN)
inline char g_token;
inline void release() { __tsan_release(&g_token); }
inline void acquire() { __tsan_acquire(&g_token); }
#else
inline void release() {}
inline void acquire() {}
#endif

}  // namespace ThreadHandoff
