#pragma once

// The page-setup and print dialogs, behind a small interface so that printing can be driven without a
// print system: tests install a double that answers at once and points the printer at a PDF file.

class QPageLayout;
class QPrinter;

namespace Printing {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Whether Qt can give anything to print on at all. A computer without a printer still prints to a
    // PDF file ("Print to File (PDF)" in the print dialog), so that alone is no reason to refuse.
    virtual bool canPrint() = 0;
    // Shows the page-setup dialog, attached to no window, for the layout. True when the user accepted;
    // the layout then holds the choice. A cancelled dialog leaves the layout as it was.
    virtual bool pageSetup(QPageLayout& layout) = 0;
    // Shows the print dialog, attached to no window, for a printer that already carries the page layout.
    // True when the user chose to print; the printer then holds the chosen destination and copies.
    virtual bool print(QPrinter& printer) = 0;
};

// The installed dialogs: the platform's own until something else is installed.
Dialogs& dialogs();
// Installs an implementation (not owned); nullptr puts the platform's dialogs back.
void setDialogs(Dialogs* d);

} // namespace Printing
