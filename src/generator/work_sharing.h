// Work shared out over the processors. Reading a Favorites folder is almost
// all the system's own work on each file (open, read, close), and the system
// does that for as many threads at once as there are processors.
#pragma once

#include <cstddef>
#include <functional>

namespace qv {

// The threads worth using for such work: the processors there are, at most
// four (beyond that the threads mostly wait for one another in the file
// system), and at least one.
unsigned WorkThreadCount();

// Calls `work(i)` once for each i below `count`, on up to `threads` threads
// (the calling one among them), and returns once every call has returned.
// Calls in flight run at the same time, so each must touch only its own
// share. An exception thrown by a call skips the calls not yet begun and is
// thrown again here; a thread the system refuses to start leaves its share to
// the others.
void ForEachIndex(std::size_t count, unsigned threads,
                  const std::function<void(std::size_t)>& work);

}  // namespace qv
