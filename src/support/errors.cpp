#include "errors.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cxxabi.h>
#include <execinfo.h>

#include <cstdlib>
#include <memory>

namespace ErrorStacks {

// Each thread keeps the stack of its own latest throw: a throw on another thread must not replace the
// stack of the exception this one is handling.
QStringList& lastThrowStack() {
    thread_local QStringList stack;
    return stack;
}

namespace {

// "path(mangled+0x1f) [0x...]" -> the demangled signature, or an empty text when the frame names no
// function of this program (library, start-up and event-loop frames).
QString frameSignature(const char* line, const QByteArray& ownExecutable) {
    const QByteArray text(line);
    const int open = text.indexOf('(');
    const int plus = text.indexOf('+', open);
    if (open < 0 || plus <= open + 1)
        return {};
    const QByteArray object = text.left(open);
    if (!ownExecutable.isEmpty() &&
        QFileInfo(QString::fromLocal8Bit(object)).canonicalFilePath().toLocal8Bit() != ownExecutable)
        return {};
    const QByteArray mangled = text.mid(open + 1, plus - open - 1);
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(mangled.constData(), nullptr, nullptr, &status), &std::free);
    if (status != 0 || !demangled)
        return {};
    return QString::fromLatin1(demangled.get());
}

} // namespace

QStringList capture(int skip) {
    void* frames[64];
    const int count = backtrace(frames, 64);
    std::unique_ptr<char*, decltype(&std::free)> symbols(backtrace_symbols(frames, count), &std::free);
    QStringList out;
    if (!symbols)
        return out;
    static const QByteArray own =
        QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath().toLocal8Bit();
    for (int i = skip + 1; i < count; ++i) { // +1: this function itself
        const QString signature = frameSignature(symbols.get()[i], own);
        if (!signature.isEmpty())
            out << signature;
    }
    return out;
}

void recordThrowStack() noexcept {
    // Recording allocates; a failure inside it must not throw back into the throw hook.
    thread_local bool recording = false;
    if (recording)
        return;
    recording = true;
    try {
        lastThrowStack() = capture(2); // leave out this function and the hook
    } catch (...) {
    }
    recording = false;
}

QStringList ofCurrentException() {
    try {
        throw;
    } catch (const RuntimeException& e) {
        return e.rawStack();
    } catch (...) {
        return lastThrowStack();
    }
}

} // namespace ErrorStacks

RuntimeException::RuntimeException(const std::string& message)
    : std::runtime_error(message), stack_(ErrorStacks::capture(1)) {
    // The constructors of the error kinds themselves (inherited ones add a frame) are not where the
    // error happened.
    while (!stack_.isEmpty() &&
           stack_.first().section(QLatin1Char('('), 0, 0).endsWith(QLatin1String("Exception")))
        stack_.removeFirst();
}
