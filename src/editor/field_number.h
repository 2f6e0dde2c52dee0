#pragma once

#include <cstdint>
#include <string_view>

namespace zt9 {

// The number a panel field's text stands for. Leading blanks are skipped and the digits up
// to the first other character count (a minus sign only where the field is signed); text
// with no digits reads as 0. Values beyond the 32-bit range stay at its ends, so a huge
// typed number is the largest value and never wraps into a negative one.
std::int32_t readFieldNumber(std::string_view text, bool isSigned);

}  // namespace zt9
