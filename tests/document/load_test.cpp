#include <gtest/gtest.h>

#include "document/geo_document.h"
#include "support/geo_builder.h"
#include "support/temp_dir.h"

namespace zt9 {
namespace {

TEST(LoadSmoke, OneElementFontLoads) {
    test::TempDir dir;
    const auto bytes = test::GeoBuilder::grid(1).build();
    ASSERT_EQ(bytes.size(), 30792u);
    test::writeBytes(dir.file("one.geo"), bytes);
    GeoDocument doc;
    doc.loadFile(dir.file("one.geo"), false);
    EXPECT_EQ(doc.checkHeader(), error{});
    EXPECT_EQ(doc.parseElements(), 0u);
    EXPECT_EQ(doc.checkElements(), error{});
    EXPECT_EQ(doc.pictureOffset, 24u);
}

}  // namespace
}  // namespace zt9
