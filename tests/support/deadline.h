// A limit on how long a test of something that must never block may run:
// past it the test program is ended by SIGALRM, so that a regression fails
// the test instead of hanging the suite. POSIX only, like the FIFOs and
// devices such tests open.
#pragma once

#ifndef _WIN32
#include <unistd.h>

namespace tarnvale::testing {

class Deadline {
 public:
  explicit Deadline(unsigned seconds) { ::alarm(seconds); }
  ~Deadline() { ::alarm(0); }
  Deadline(const Deadline&) = delete;
  Deadline& operator=(const Deadline&) = delete;
};

}  // namespace tarnvale::testing
#endif
