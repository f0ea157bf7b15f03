#include "routes.h"

#include "classes/addnamescrn.h"
#include "classes/classscrn.h"
#include "games/challenge/challengescrn.h"
#include "games/detective/newmdscrn.h"
#include "games/numbers/numgamescrn.h"
#include "games/squares/msqrsscrn.h"
#include "help/helpscrn2.h"
#include "helplink.h"
#include "preferences/prefscrn10.h"
#include "setmaker/creategamescrn.h"
#include "signin/namescrn.h"
#include "support/checkversscrn.h"
#include "support/newaboutscrn.h"

namespace Routes {

void install() {
    NameScrn::Links& links = NameScrn::links();
    // Each window family installs its opener below, one line each.
    links.preferences = [] {
        PrefScrn10::instance()->show();
    };
    links.checkVersion = [] {
        checkVersScrn::showWindow();
    };
    links.about = [] {
        newAboutScrn::instance()->exec();
    };
    links.classLists = [] {
        ClassScrn::instance()->show();
    };
    links.addMyName = [](const QString& className) {
        addNameScrn(className).exec();
    };
    links.createSets = [] {
        createGameScrn::instance()->show();
    };
    links.games[2] = [] {
        MSqrsScrn::instance()->show();
    };
    links.games[3] = [] {
        challengeScrn::instance()->show();
    };
    HelpLink::install([](int topic, QWidget* from) { helpScrn2::open(topic, from); });
    links.help = [] {
        HelpLink::open(0, NameScrn::exists() ? NameScrn::instance() : nullptr);
    };
    links.games[0] = [] {
        numGameScrn::instance()->show();
    };
    links.games[1] = [] {
        newMDScrn::instance()->show();
    };
}

} // namespace Routes
