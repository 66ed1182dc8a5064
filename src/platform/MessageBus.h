#pragma once
// The session's message bus, as the libraries behind a drawing window use it.
// When no bus is named and none is at its usual place, the bus library starts
// a bus daemon of its own by forking the process that asks: a preview would
// leave a daemon behind on every start, and fork while other threads work,
// which an allocator that is not fork-aware does not survive.

namespace pelorine::platform {

// Before any thread starts: when the session has no bus, names the usual
// place (which is empty), so that the library fails at once instead of
// starting one. A bus the session has is left as it is.
void keepToTheSessionBus();

}  // namespace pelorine::platform
