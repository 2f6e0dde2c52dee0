// The disk faults of tests/support/disk_faults.h for an element export. The 4-bit file
// (718 bytes) stays in the stream's buffer, so its write fails only when it is closed.

#include "images/element_export.h"
#include "support/disk_faults.h"

namespace zt9::test {

struct ElementExport {
    static void write(GeoDocument& doc, const fs::path& file) {
        exportElement(doc, kExport4bpp, file);
    }
    static std::vector<std::uint8_t> bytes(GeoDocument& doc) {
        return exportElementBytes(doc, kExport4bpp);
    }
};
INSTANTIATE_TYPED_TEST_SUITE_P(ElementExport, DiskFault, ElementExport);

}  // namespace zt9::test
