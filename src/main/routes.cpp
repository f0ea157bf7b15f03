#include "routes.h"

#include "classes/addnamescrn.h"
#include "classes/classscrn.h"
#include "games/basket/bsktmathscrn.h"
#include "games/challenge/challengescrn.h"
#include "games/detective/newmdscrn.h"
#include "games/mindgames/mindgamesscrn.h"
#include "games/numbers/numgamescrn.h"
#include "games/squares/msqrsscrn.h"
#include "help/helpscrn2.h"
#include "app/helplink.h"
#include "preferences/prefscrn10.h"
#include "setmaker/creategamescrn.h"
#include "signin/namescrn.h"
#include "support/checkversscrn.h"
#include "support/newaboutscrn.h"

namespace Routes {

void install() {
    // Every window's Help item opens a new help window on its topic.
    HelpLink::install([](int topic, QWidget* from) { helpScrn2::open(topic, from); });

    NameScrn::Links& links = NameScrn::links();
    links.help = [] {
        HelpLink::open(0, NameScrn::exists() ? NameScrn::instance() : nullptr);
    };
    links.about = [] {
        newAboutScrn::instance()->exec();
    };
    links.checkVersion = [] {
        checkVersScrn::showWindow();
    };

    // The teacher's windows.
    links.classLists = [] {
        ClassScrn::instance()->show();
    };
    links.preferences = [] {
        PrefScrn10::instance()->show();
    };
    links.createSets = [] {
        createGameScrn::instance()->show();
    };
    links.addMyName = [](const QString& className) {
        addNameScrn(className).exec();
    };

    // The six games, in the order of the sign-in window's game buttons.
    links.games[0] = [] {
        numGameScrn::instance()->show();
    };
    links.games[1] = [] {
        newMDScrn::instance()->show();
    };
    links.games[2] = [] {
        MSqrsScrn::instance()->show();
    };
    links.games[3] = [] {
        challengeScrn::instance()->show();
    };
    links.games[4] = [] {
        bsktMathScrn::instance()->show();
    };
    links.games[5] = [] {
        MindGamesScrn::instance()->show();
    };
}

} // namespace Routes
