#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "document_fixtures.h"
#include "support/temp_dir.h"

namespace zt9 {
namespace {

namespace fs = std::filesystem;

TEST(SaveFile, RefusedTargetGivesSaveErrorAndKeepsTargetAndDocument) {
    for (const char* kind : {"folder", "missing folder", "read-only file"}) {
        SCOPED_TRACE(kind);
        test::TempDir dir;
        fs::path target = dir.file("font.geo");
        const std::vector<std::uint8_t> old(30800, 0x5A);
        if (kind[0] == 'f') {
            fs::create_directory(target);
        } else if (kind[0] == 'm') {
            target = dir.file("no") / "font.geo";
        } else {
            test::writeBytes(target, old);
            fs::permissions(target, fs::perms::owner_read);
            if (std::ofstream(target, std::ios::app).is_open())
                GTEST_SKIP() << "this user (root?) may write read-only files";
        }
        const std::vector<fs::path> entries = dir.entries();
        GeoDocument doc;
        ASSERT_EQ(test::tryOpen(doc, test::GeoBuilder::grid(3).build()), error{});
        std::int32_t out = 0;
        doc.setX(20, out);
        const error got = test::caught([&] { doc.saveFile(target); });
        EXPECT_EQ(got, test::generalError(kCodeSave));
        EXPECT_EQ(test::shownText(got), "File save error");
        EXPECT_EQ(doc.modified, 1);
        EXPECT_EQ(dir.entries(), entries) << "no temporary file is left";
        EXPECT_TRUE(!fs::is_regular_file(target) || test::readBytes(target) == old);
    }
}

}  // namespace
}  // namespace zt9
