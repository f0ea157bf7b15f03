#pragma once

// The help pages ship in a folder "NBQ_Help" beside the program, or in the share folder of an install
// (not among the pictures and sounds, and not in the user's folders). Tests point the program
// elsewhere with NBR_HELP_DIR.

#include <QString>

namespace HelpFolder {

// The folder's absolute path; it may not exist.
QString path();
// The page's absolute path inside the folder; it may not exist.
QString page(const QString& fileName);

} // namespace HelpFolder
