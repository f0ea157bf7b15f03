#include "routes.h"

#include "helplink.h"
#include "setmaker/creategamescrn.h"
#include "signin/namescrn.h"

namespace Routes {

void install() {
    NameScrn::Links& links = NameScrn::links();
    // Each window family installs its opener below, one line each.
    links.createSets = [] {
        createGameScrn::instance()->show();
    };
}

} // namespace Routes
