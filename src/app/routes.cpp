#include "routes.h"

#include "helplink.h"
#include "preferences/prefscrn10.h"
#include "signin/namescrn.h"
#include "support/checkversscrn.h"
#include "support/newaboutscrn.h"

namespace Routes {

void install() {
    NameScrn::Links& links = NameScrn::links();
    // Each window family installs its opener below, one line each.
    (void)links;
    links.preferences = [] {
        PrefScrn10::instance()->show();
    };
    links.checkVersion = [] {
        checkVersScrn::showWindow();
    };
    links.about = [] {
        newAboutScrn::instance()->exec();
    };
}

} // namespace Routes
