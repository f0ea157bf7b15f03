#pragma once

#include <QString>

// Where the choosers of student lists (the import and the export) start: the folder of the list last
// chosen in this run, else the user's home folder. The program's own folder holds no list of a
// teacher's: it is the build or a system folder that the teacher cannot even write to.
namespace ListFolder {

QString start();
// Keeps the folder of a file the teacher chose, for the next chooser of either kind.
void remember(const QString& chosenFile);

} // namespace ListFolder
