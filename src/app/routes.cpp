#include "routes.h"

#include "games/detective/newmdscrn.h"
#include "games/numbers/numgamescrn.h"
#include "helplink.h"
#include "signin/namescrn.h"

namespace Routes {

void install() {
    NameScrn::Links& links = NameScrn::links();
    // Each window family installs its opener below, one line each.
    links.games[0] = [] {
        numGameScrn::instance()->show();
    };
    links.games[1] = [] {
        newMDScrn::instance()->show();
    };
}

} // namespace Routes
