#include "printdialogs.h"

#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace Printing {
namespace {

class PlatformDialogs final : public Dialogs {
public:
    bool canPrint() override { return QPrinter().isValid(); }

    bool pageSetup(QPageLayout& layout) override {
        QPrinter printer;
        printer.setPageLayout(layout);
        QPageSetupDialog dialog(&printer, nullptr);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        layout = printer.pageLayout();
        return true;
    }

    bool print(QPrinter& printer) override {
        QPrintDialog dialog(&printer, nullptr);
        return dialog.exec() == QDialog::Accepted;
    }
};

PlatformDialogs platformDialogs;
Dialogs* current = &platformDialogs;

} // namespace

Dialogs& dialogs() {
    return *current;
}

void setDialogs(Dialogs* d) {
    current = d ? d : &platformDialogs;
}

} // namespace Printing
