#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

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

// A document opened from a built font, checked as the load command does.
inline GeoDocument openDocument(const GeoBuilder& builder) {
    GeoDocument doc;
    openFont(doc, builder.build());  // a refusal fails the test with its error
    return doc;
}

}  // namespace zt9::test
