// The disk faults of tests/support/disk_faults.h for a font save.

#include "support/disk_faults.h"

namespace zt9::test {

struct FontSave {
    static void write(GeoDocument& doc, const fs::path& file) { doc.saveFile(file); }
    static std::vector<std::uint8_t> bytes(GeoDocument& doc) { return doc.buildSaveImage(); }
};
INSTANTIATE_TYPED_TEST_SUITE_P(FontSave, DiskFault, FontSave);

}  // namespace zt9::test
