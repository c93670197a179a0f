// SPDX-License-Identifier: MIT
#pragma once

namespace kestrova {

// Holds a counter up by one for its lifetime, however the work ends.
class ScopedCount {
  public:
    explicit ScopedCount(int& count) : count(count) { ++count; }
    ~ScopedCount() { --count; }
    ScopedCount(const ScopedCount&) = delete;
    ScopedCount& operator=(const ScopedCount&) = delete;

  private:
    int& count;
};

}  // namespace kestrova
