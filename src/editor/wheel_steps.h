#pragma once

#include <algorithm>
#include <cstdint>

namespace zt9 {

// Turns a wheel's deltas into whole notches of 120. High-resolution wheels send parts of a
// notch, which are carried until they add up; some drivers send several notches at once.
// A turn the other way drops what was carried, so a notch never needs undoing first.
class WheelSteps {
  public:
    static constexpr std::int64_t kNotch = 120;

    // The whole notches this delta completes, positive away from the user (or to the right).
    std::int64_t add(std::int64_t delta) {
        // Far more than any wheel sends at once, and far from overflowing the carry.
        constexpr std::int64_t kLargest = std::int64_t{1} << 40;
        delta = std::clamp(delta, -kLargest, kLargest);
        if ((delta < 0 && carried_ > 0) || (delta > 0 && carried_ < 0))
            carried_ = 0;
        carried_ += delta;
        const std::int64_t notches = carried_ / kNotch;
        carried_ -= notches * kNotch;
        return notches;
    }
    void reset() { carried_ = 0; }

  private:
    std::int64_t carried_ = 0;
};

}  // namespace zt9
