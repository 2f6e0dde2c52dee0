#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <type_traits>

#include "document/geo_document.h"
#include "support/geo_builder.h"

namespace zt9::test {

// The message a failing call shows, "<accepted>" when it does not throw.
inline std::string outcome(const std::function<void()>& call) try {
    call();
    return "<accepted>";
} catch (const error& e) {
    return messageText(e).value_or("<no message>");
}

// The values one after another, each followed by a space, numbers in decimal (bytes too):
// several results in one check.
template <typename... Values>
std::string listed(const Values&... values) {
    std::ostringstream out;
    const auto put = [&](const auto& value) {
        if constexpr (std::is_arithmetic_v<std::remove_cvref_t<decltype(value)>>)
            out << +value << ' ';
        else
            out << value << ' ';
    };
    (put(values), ...);
    return out.str();
}

// A document opened from a built font, checked as the load command does, with element
// `current` selected.
inline GeoDocument openDocument(const GeoBuilder& builder, std::uint32_t current = 0) {
    GeoDocument doc;
    openFont(doc, builder.build());  // a refusal fails the test with its error
    doc.currentElement = current;
    return doc;
}

}  // namespace zt9::test
