#include "routes.h"

#include "games/challenge/challengescrn.h"
#include "games/squares/msqrsscrn.h"
#include "helplink.h"
#include "signin/namescrn.h"

namespace Routes {

void install() {
    NameScrn::Links& links = NameScrn::links();
    // Each window family installs its opener below, one line each.
    links.games[2] = [] {
        MSqrsScrn::instance()->show();
    };
    links.games[3] = [] {
        challengeScrn::instance()->show();
    };
    (void)links;
}

} // namespace Routes
