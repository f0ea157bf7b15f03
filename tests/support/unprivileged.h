#pragma once

// File permissions do not stop the superuser, and the tests run as root in CI. A check that a
// permission decides runs there again as an unprivileged user: this test program, copied where that
// user may run it, started for the one test function through setpriv, with a fresh home that user
// may write.

namespace TestDoubles {

// True when the named test function of this program passed when run as the user "nobody". Its
// output is logged when it did not. Call it only as root.
bool passesUnprivileged(const char* testFunction);

} // namespace TestDoubles
