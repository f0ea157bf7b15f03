#include "appversion.h"

#include "version.h"

namespace App {

QString LongVersion() {
    return QStringLiteral(NBR_LONG_VERSION);
}
QString ShortVersion() {
    return QStringLiteral(NBR_SHORT_VERSION);
}
int NonReleaseVersion() {
    return NBR_BUILD_NUMBER;
}

} // namespace App
