// The failure frames, the paint geometry and the reading of typed numbers.
#include <limits>
#include <stdexcept>

#include "editor/editor_fixture.h"
#include "editor/field_number.h"
#include "editor/paint_plan.h"

namespace zt9::test {
namespace {

using Log = std::vector<std::string>;

error raised(std::int32_t domain, std::uint32_t code) {
    error e;
    e.domain = domain;
    e.code = code;
    return e;
}

TEST_F(EditorTest, FrameShowsEachCaughtFailureOnceAndClearsOnlyARaisedRecord) {
    document.lastError.code = kCodeLoad;
    window.frame([] { throw std::runtime_error("boom"); });
    EXPECT_EQ(takeLog(), Log{"error: Unknow error"});
    EXPECT_EQ(document.lastError.code, kCodeLoad);  // not an `error`: the record stays

    window.frame([] { throw raised(kDomainGeo, 0); });  // names no condition
    EXPECT_EQ(takeLog(), Log{});
    EXPECT_EQ(document.lastError, error{});

    // A failure inside the message box's own loop is shown by its own frame.
    screen.duringNextModal = [&] { window.frame([] { throw raised(kDomainGeneral, kCodeSave); }); };
    window.frame([] { throw raised(kDomainGeneral, kCodeLoad); });
    EXPECT_EQ(takeLog(), (Log{"error: File load error", "error: File save error"}));
}

TEST_F(EditorTest, QuietFrameReportsARunOfFailuresOnceAfterTheMessage) {
    window.quietFrame([] { throw raised(kDomainGeneral, kCodeSave); });
    window.quietFrame([] { throw std::runtime_error("again"); });
    EXPECT_EQ(screen.failureReports, 1);
    EXPECT_EQ(takeLog(), Log{});  // nothing modal inside a paint
    window.frame([&] { window.reportFailure(); });
    window.frame([&] { window.reportFailure(); });
    EXPECT_EQ(takeLog(), Log{"error: File save error"});
    window.quietFrame([] {});
    window.quietFrame([] { throw std::bad_alloc(); });
    EXPECT_EQ(screen.failureReports, 2);
    window.frame([&] { window.reportFailure(); });
    EXPECT_EQ(takeLog(), Log{"error: Unknow error"});
}

TEST(PaintPlan, GreyMarginsSurroundTheStretchedFrameCutToTheSurface) {
    auto frame = [](std::int32_t w, std::int32_t h) {
        ElementConfig c;
        c.width = w;
        c.height = h;
        return c;
    };
    struct Case {
        ElementConfig shown;
        std::int32_t zoom;
        PaintPlan plan;
    };
    const std::vector<Case> cases = {
        // Nothing shown: the whole area is grey.
        {frame(0, 0), 1, {{0, 0, 400, 300}, {0, 1, 0, 300}, 0, 1, 1}},
        {frame(255, 239), 4, {{1020, 0, 1200, 1000}, {0, 960, 1020, 1000}, 255, 240, 4}},
        // A frame larger than the area: both margins are empty.
        {frame(6, 4), 10, {{60, 0, 50, 30}, {0, 50, 60, 30}, 6, 5, 10}},
        // Sizes taken from a file may exceed the surface.
        {frame(255, 255), 1, {{255, 0, 300, 300}, {0, 240, 255, 300}, 255, 240, 1}},
    };
    const std::vector<std::pair<std::int64_t, std::int64_t>> areas = {
        {400, 300}, {1200, 1000}, {50, 30}, {300, 300}};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(planPaint(cases[i].shown, cases[i].zoom, areas[i].first, areas[i].second),
                  cases[i].plan);
    }
    EXPECT_TRUE(planPaint(frame(6, 4), 10, 50, 30).rightMargin.empty());
    EXPECT_FALSE(planPaint(frame(6, 4), 1, 50, 30).rightMargin.empty());
}

TEST(FieldNumber, TypedTextReadsAsTheNumberItStartsWithAndNeverWraps) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    struct Case {
        const char* text;
        bool isSigned;
        std::int32_t value;
    };
    const std::vector<Case> cases = {
        {"", false, 0},
        {"  42", false, 42},
        {"12abc", false, 12},
        {"abc", false, 0},
        {"-5", false, 0},
        {"-5", true, -5},
        {"65535", true, 65535},
        {"4294967295", false, kMax},
        {"4294967294", false, kMax},
        {"2147483647", false, kMax},
        {"99999999999999999999999", false, kMax},
        {"-2147483648", true, kMin},
        {"-99999999999", true, kMin},
        {"- 5", true, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readFieldNumber(c.text, c.isSigned), c.value) << c.text;
}

}  // namespace
}  // namespace zt9::test
