#include "editor/field_number.h"

#include <algorithm>
#include <limits>

namespace zt9 {

std::int32_t readFieldNumber(std::string_view text, bool isSigned) {
    constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
    std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string_view::npos)
        return 0;
    const bool negative = isSigned && text[at] == '-';
    if (negative)
        ++at;
    std::int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        magnitude = std::min(magnitude * 10 + (text[at] - '0'), kLargest + 1);
    const std::int64_t value = negative ? -magnitude : std::min(magnitude, kLargest);
    return static_cast<std::int32_t>(value);
}

}  // namespace zt9
