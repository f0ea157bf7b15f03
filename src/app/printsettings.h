#pragma once

// One page setup for the whole run, so that printing asks for it at most once, and the document marks
// of a window: the modified mark in its title and the file it stands for.

#include <QPageLayout>
#include <QString>

#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace myGlobals {

// The Page Setup command: shows the page-setup dialog with the defaults and keeps the choice for the
// run. Cancelling forgets an earlier choice, so the next printing asks again.
void obtainPrinterSettings();

// Before printing: fills the setup from the choice kept for the run, or asks for one (and keeps it)
// when none is kept yet. When the user cancels, the setup holds nothing and nothing is kept. An empty
// setup passed in starts from the defaults.
void gGetPrinterSetup(std::optional<QPageLayout>& setup);

// The start of every print: tells the user when nothing can be printed on (without a printer the print
// dialog still offers a PDF file, so that is no reason to stop), gets the page setup as
// gGetPrinterSetup does, lets the caller turn the layout down (layoutFits tells the user why itself),
// then puts the layout and document name on the printer and shows the print dialog. True when the
// user chose to print; the printer then holds the destination and copies. An empty layoutFits takes
// any layout.
bool startPrintJob(QPrinter& printer, const QString& docName,
                   const std::function<bool(const QPageLayout&)>& layoutFits = {});

// The page setup a new dialog starts from: the locale's paper, portrait, half-inch margins.
QPageLayout defaultPageLayout();

// The text in which a page setup is kept (myGlobals::gPrinterSettings), and back. Text that does not
// describe a page setup gives nothing.
QString pageSetupText(const QPageLayout& layout);
std::optional<QPageLayout> pageLayoutFromText(const QString& text);

// Shows or clears the modified mark of the window that holds the widget. The title gets Qt's "[*]"
// placeholder when it has none, so the mark has a place to show.
void SetWindowModified(QWidget* window, bool modified);

// Lets the window that holds the widget stand for a file: its file path and icon. No file, or a path
// without a file name, does nothing; a file that does not exist beeps and does nothing more.
void SetWindowProxyAlias(QWidget* window, const QString& file);

// A window working on the open data file (myGlobals::pFile) shows so: the modified mark as asked, and
// the window standing for the file. With no open file the window is left as it is.
void showFileMarks(QWidget* window, bool modified);

} // namespace myGlobals
