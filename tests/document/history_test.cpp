// The history's memory bound and its save point, on the document alone.
#include <gtest/gtest.h>

#include "document/history.h"
#include "support/test_util.h"

namespace zt9::test {
namespace {

TEST(History, TheOldestStepsGoBeyondTheMemoryBoundAndTakeAnEarlierSavePointWithThem) {
    GeoDocument doc = openDocument(GeoBuilder::grid(3));
    History history;
    const auto move = [&](std::uint64_t serial, std::int32_t y) {
        History::Before before = History::snapshot(doc, 0, true);  // an image kept if changed
        doc.configs[0].y = y;
        return history.record(doc, std::move(before), 1, 0, serial);
    };
    EXPECT_TRUE(move(1, 10));
    const std::size_t oneStep = history.memoryUsed();
    EXPECT_FALSE(move(2, 10) || oneStep >= 200);  // nothing changed: no step
    history.setLimit(oneStep * 3);
    for (std::int32_t y = 11; y < 20; ++y)
        move(static_cast<std::uint64_t>(y), y);
    EXPECT_EQ(std::pair(history.size(), history.memoryUsed()),
              std::pair(std::size_t{3}, oneStep * 3));
    // The loaded state is out of reach now: undoing all that is left stays modified.
    while (history.undo(doc))
        ;
    EXPECT_EQ(std::pair(doc.configs[0].y, history.modified()), std::pair(16, true));
    history.markSaved();
    EXPECT_FALSE(history.modified());
    // An image step costs its pixels; the newest step stays whatever its size.
    history.setLimit(10);
    History::Before before = History::snapshot(doc, 1, true);
    doc.importSlots[1] = {1, std::vector<std::uint8_t>(3000, 0x11), {}, 6, 999};
    EXPECT_TRUE(history.record(doc, std::move(before), 2, 0, 99));
    // After its undo the step holds the image.
    EXPECT_EQ((std::tuple{history.size(), history.undo(doc), history.memoryUsed() > 3000,
                          doc.importSlots[1].imported, history.modified()}),
              std::tuple(std::size_t{1}, std::optional(1u), true, std::uint8_t{0}, false));
    history.clear(true);
    EXPECT_EQ(std::tuple(history.size(), history.memoryUsed(), history.modified()),
              std::tuple(std::size_t{0}, std::size_t{0}, true));
}

}  // namespace
}  // namespace zt9::test
