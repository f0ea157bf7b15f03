#include "mailhandler.h"

#include "app/desktopapps.h"

namespace MailHandler {
namespace {

Query& query() {
    static Query q = askDesktop;
    return q;
}

} // namespace

QString current() {
    return query()();
}

void setQuery(Query q) {
    query() = q ? std::move(q) : Query(askDesktop);
}

QString askDesktop() {
    return DesktopApps::defaultFor(QStringLiteral("x-scheme-handler/mailto"));
}

} // namespace MailHandler
