#pragma once

// Small rules about the drill settings list that the settings window and its two dialogs share.

#include <QString>
#include <QStringList>

namespace DrillSettings {

// Grows a list that lost entries with the defaults of the missing places, so that every field from 0
// to 9 can be read and written. Entries already there, and any after the tenth, are left alone.
void completeList(QStringList& params);

// How many operations a random mix may draw from a field-3 text ("1^0^1^1"), read exactly as the
// round reads it: part i allows operation i when its whole-number value is not 0.
int allowedOperationCount(const QString& flags);

// A random mix stored with fewer than two operations allowed gets all four back: the select
// operations dialog asks for two, and a list that was never set, or was damaged, must still give a
// round that can draw its problems.
void keepRandomMixPlayable(QStringList& params);

} // namespace DrillSettings
