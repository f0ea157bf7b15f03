#include "routes.h"

#include "classes/addnamescrn.h"
#include "classes/classscrn.h"
#include "helplink.h"
#include "signin/namescrn.h"

namespace Routes {

void install() {
    NameScrn::Links& links = NameScrn::links();
    // Each window family installs its opener below, one line each.
    links.classLists = [] {
        ClassScrn::instance()->show();
    };
    links.addMyName = [](const QString& className) {
        addNameScrn(className).exec();
    };
}

} // namespace Routes
