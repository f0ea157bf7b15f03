#pragma once

// The text of an error report: the error's kind and its call stack as readable declarations, one
// per line ("Sub newCnvBtn.setCaption( string, uint8 )", "Function HTMLField.ColorFromHex( string )
// as color").

#include <QString>
#include <QStringList>

#include <exception>

namespace modErrors {
// The name of the first listed kind the error belongs to; empty for any other error.
QString TypeOfException(std::exception_ptr error);
} // namespace modErrors

namespace StackCleaner {

// The readable lines of a stack of symbols ("name%result%parameters"), empty lines left out.
QStringList CleanStack(const QStringList& symbols);
// The readable lines of the stack captured when the error was thrown.
QStringList CleanStack(std::exception_ptr error);
QString CleanMangledFunction(const QString& symbol);
QStringList ParseParams(const QString& codes);

// Turns a demangled C++ signature ("DBCtrl::insertClass(QString const&, int)") into the symbol form
// above ("DBCtrl.insertClass%%si4"). A C++ name tells the result type only for templates.
QString SymbolFromSignature(const QString& signature);

} // namespace StackCleaner

namespace ErrorReport {
// "Error: " + the kind + a line end + the cleaned lines joined by line ends.
QString reportText(std::exception_ptr error);
} // namespace ErrorReport
