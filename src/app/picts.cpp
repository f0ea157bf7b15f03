#include "picts.h"

#include "media.h"

#include <algorithm>

namespace myPicts {

std::array<QPixmap, 12>& numPicts() {
    static std::array<QPixmap, 12> table;
    return table;
}

std::array<QPixmap, 9>& myStarPict() {
    static std::array<QPixmap, 9> table;
    return table;
}

void loadPics() {
    using namespace Pictures;
    numPicts() = {zero(), One(),   Two(),   Three(), Four(),  Five(),
                  Six(),  Seven(), Eight(), Nine(),  Blank(), neg()};
    // Ordered by the star total in the name, not alphabetically: new5stars is half a star.
    myStarPict() = {new0stars(),  new5stars(),  new10stars(), new15stars(), new20stars(),
                    new25stars(), new30stars(), new35stars(), new40stars()};
}

QPixmap digit(int index) {
    if (index < 0 || index >= static_cast<int>(numPicts().size()))
        return {};
    return numPicts()[static_cast<std::size_t>(index)];
}

QPixmap stars(int halfStars) {
    return myStarPict()[static_cast<std::size_t>(std::clamp(halfStars, 0, 8))];
}

} // namespace myPicts
