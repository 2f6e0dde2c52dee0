#pragma once

// The valid font that the BMP and clipboard targets import into: six grid elements and one
// in the bottom-right corner, so that images are pushed back into the picture from both
// edges. make_seeds draws true-colour seeds in its colours.

#include "support/geo_builder.h"

namespace zt9::fuzz {

inline test::GeoBuilder fixedFontBuilder() {
    test::GeoBuilder builder = test::GeoBuilder::grid(6, 6, 4);
    test::ElementLayout corner;
    corner.x = 240;
    corner.y = 230;
    corner.width = 14;
    corner.height = 9;
    builder.elements.push_back(corner);
    builder.paintPattern(builder.elements.size() - 1);
    return builder;
}

}  // namespace zt9::fuzz
