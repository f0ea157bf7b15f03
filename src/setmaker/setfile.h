#pragma once

// The writing side of a problem-set file (".nbx"), without any window. A file holds one record per
// row, back to back: a length byte, then the row's text byte for byte (ASCII). No header, no count;
// a set of no rows is an empty file. rndSet::readSavedSet reads them back.

#include <QString>
#include <QStringList>

class QIODevice;

namespace SetFile {

// The file name a set is saved under: the name with ".nbx" after it, unless it ends in ".nbx" in any
// letter case already; the ending is always written in lower case, so the file choosers list it.
QString fileNameFor(const QString& setName);

// The set name of a file: its name less the last four characters (the ".nbx").
QString setNameOf(const QString& fileName);

// A set name becomes a file name in the sets folder: it must stay a plain name there. False for a
// name with "/", "\" or a control character, or beginning with a dot.
bool nameAllowed(const QString& setName);

// Writes the rows as records. False when a row cannot be one record (longer than 255 bytes, or a
// character outside Latin-1) or the device took fewer bytes than written; what came before stays.
bool writeRecords(QIODevice& out, const QStringList& rows);

// Saves the rows into a new file of the set's name in the folder; an existing file is never
// replaced. False when the folder is empty, the file is there already or cannot be made, or writing
// fails; a file this save made and could not complete is removed again, so the name stays free.
// nameTaken, when given, tells whether it failed because the name is taken in the folder.
bool save(const QString& folder, const QString& setName, const QStringList& rows, bool* nameTaken = nullptr);

} // namespace SetFile
