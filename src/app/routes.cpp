#include "routes.h"

#include "games/basket/bsktmathscrn.h"
#include "games/mindgames/mindgamesscrn.h"
#include "helplink.h"
#include "signin/namescrn.h"

namespace Routes {

void install() {
    NameScrn::Links& links = NameScrn::links();
    // Each window family installs its opener below, one line each.
    links.games[4] = [] {
        bsktMathScrn::instance()->show();
    };
    links.games[5] = [] {
        MindGamesScrn::instance()->show();
    };
}

} // namespace Routes
