#include "keptwaiting.h"

#include "data/dbctrl.h"

#include <QSqlDriver>
#include <QThread>

#include <sqlite3.h>

namespace TestDoubles {
namespace {

sqlite3* handleOfProgram() {
    const QVariant handle = DBCtrl::NBData().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

} // namespace

WhenKeptWaiting::WhenKeptWaiting(std::function<void()> work, Then then) : work_(std::move(work)), then_(then) {
    if (sqlite3* db = handleOfProgram())
        sqlite3_busy_handler(db, &WhenKeptWaiting::handler, this);
}

WhenKeptWaiting::~WhenKeptWaiting() {
    if (sqlite3* db = handleOfProgram())
        sqlite3_busy_timeout(db, 5000);
}

int WhenKeptWaiting::handler(void* self, int count) {
    auto* me = static_cast<WhenKeptWaiting*>(self);
    ++me->waits_;
    if (!me->done_) {
        me->done_ = true;
        if (me->work_)
            me->work_();
        return me->then_ == Then::WaitOn ? 1 : 0;
    }
    if (me->then_ == Then::GiveUp || count > 2000)
        return 0;
    QThread::usleep(500);
    return 1;
}

} // namespace TestDoubles
