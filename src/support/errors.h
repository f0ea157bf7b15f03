#pragma once

// The program's own error kinds. Every error that no code catches reaches the application's
// handler, which names its kind in the error report; an error of ours carries the call stack of the
// place where it was thrown.

#include <QStringList>

#include <stdexcept>
#include <string>

class RuntimeException : public std::runtime_error {
public:
    explicit RuntimeException(const std::string& message = {});
    // The stack as raw frames (one text per frame, innermost first), captured by the constructor.
    const QStringList& rawStack() const { return stack_; }

private:
    QStringList stack_;
};

#define NBR_ERROR_KIND(Kind, Base)                                                                           \
    class Kind : public Base {                                                                               \
    public:                                                                                                  \
        using Base::Base;                                                                                    \
    };

NBR_ERROR_KIND(IllegalCastException, RuntimeException)
NBR_ERROR_KIND(KeyNotFoundException, RuntimeException)
NBR_ERROR_KIND(OutOfBoundsException, RuntimeException)
NBR_ERROR_KIND(OutOfMemoryException, RuntimeException)
NBR_ERROR_KIND(ScriptException, RuntimeException)
NBR_ERROR_KIND(ScriptAlreadyRunningException, ScriptException)
NBR_ERROR_KIND(RegExException, RuntimeException)
NBR_ERROR_KIND(RegExSearchPatternException, RegExException)
NBR_ERROR_KIND(ShellNotAvailableException, RuntimeException)
NBR_ERROR_KIND(ShellNotRunningException, RuntimeException)
NBR_ERROR_KIND(StackOverflowException, RuntimeException)
NBR_ERROR_KIND(TypeMismatchException, RuntimeException)
NBR_ERROR_KIND(UnsupportedFormatException, RuntimeException)
NBR_ERROR_KIND(NoOpenTransportException, RuntimeException)
NBR_ERROR_KIND(InvalidParentException, RuntimeException)
NBR_ERROR_KIND(EndException, RuntimeException)
NBR_ERROR_KIND(NilObjectException, RuntimeException)
NBR_ERROR_KIND(IOException, RuntimeException)

#undef NBR_ERROR_KIND

namespace ErrorStacks {
// The raw frames of the current call stack (innermost first), leaving out `skip` innermost frames.
QStringList capture(int skip = 0);
// The frames captured when the exception now being handled was thrown: an error of ours keeps its
// own; for any other C++ exception the stack recorded at its throw, if it was recorded.
QStringList ofCurrentException();
} // namespace ErrorStacks
