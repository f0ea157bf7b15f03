#include "stackcleaner.h"

#include "errors.h"

#include <QRegularExpression>

#include <algorithm>
#include <any>
#include <optional>
#include <regex>
#include <typeinfo>
#include <variant>

namespace modErrors {

QString TypeOfException(std::exception_ptr error) {
    if (!error)
        return {};
    try {
        std::rethrow_exception(error);
    } catch (const IllegalCastException&) {
        return QStringLiteral("IllegalCastException");
    } catch (const std::bad_cast&) { // std::bad_any_cast too
        return QStringLiteral("IllegalCastException");
    } catch (const KeyNotFoundException&) {
        return QStringLiteral("KeyNotFoundException");
    } catch (const OutOfBoundsException&) {
        return QStringLiteral("OutOfBoundsException");
    } catch (const std::out_of_range&) {
        return QStringLiteral("OutOfBoundsException");
    } catch (const std::length_error&) {
        return QStringLiteral("OutOfBoundsException");
    } catch (const OutOfMemoryException&) {
        return QStringLiteral("OutOfMemoryException");
    } catch (const std::bad_alloc&) {
        return QStringLiteral("OutOfMemoryException");
    } catch (const ScriptAlreadyRunningException&) {
        return QStringLiteral("ScriptAlreadyRunningException");
    } catch (const ScriptException&) {
        return QStringLiteral("ScriptException");
    } catch (const RegExException&) {
        return QStringLiteral("RegExException");
    } catch (const std::regex_error&) {
        return QStringLiteral("RegExException");
    } catch (const ShellNotAvailableException&) {
        return QStringLiteral("ShellNotAvailableException");
    } catch (const ShellNotRunningException&) {
        return QStringLiteral("ShellNotRunningException");
    } catch (const StackOverflowException&) {
        return QStringLiteral("StackOverflowException");
    } catch (const TypeMismatchException&) {
        return QStringLiteral("TypeMismatchException");
    } catch (const std::bad_variant_access&) {
        return QStringLiteral("TypeMismatchException");
    } catch (const UnsupportedFormatException&) {
        return QStringLiteral("UnsupportedFormatException");
    } catch (const NoOpenTransportException&) {
        return QStringLiteral("NoOpenTransportException");
    } catch (const InvalidParentException&) {
        return QStringLiteral("InvalidParentException");
    } catch (const EndException&) {
        return QStringLiteral("EndException");
    } catch (const NilObjectException&) {
        return QStringLiteral("NilObjectException");
    } catch (const std::bad_optional_access&) {
        return QStringLiteral("NilObjectException");
    } catch (...) {
        return {};
    }
}

} // namespace modErrors

namespace StackCleaner {
namespace {

int digitValue(QChar c) {
    return c.isDigit() && c.unicode() < 128 ? c.unicode() - '0' : 0;
}

// The position of the character closing the bracket that opens at `open`, or -1.
qsizetype matching(const QString& text, qsizetype open) {
    int depth = 0;
    for (qsizetype i = open; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('(') || c == QLatin1Char('<'))
            ++depth;
        else if ((c == QLatin1Char(')') || c == QLatin1Char('>')) && --depth == 0)
            return i;
    }
    return -1;
}

// Splits at commas outside brackets.
QStringList splitTopLevel(const QString& text) {
    QStringList parts;
    int depth = 0;
    QString current;
    for (const QChar c : text) {
        if (c == QLatin1Char('(') || c == QLatin1Char('<'))
            ++depth;
        else if (c == QLatin1Char(')') || c == QLatin1Char('>'))
            --depth;
        if (c == QLatin1Char(',') && depth == 0) {
            parts << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        parts << current.trimmed();
    return parts;
}

QString withoutTemplateArguments(const QString& text) {
    QString out;
    int depth = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('<'))
            ++depth;
        else if (c == QLatin1Char('>'))
            --depth;
        else if (depth == 0)
            out += c;
    }
    return out;
}

// A C++ name in the dotted form, without the characters that mark extension, assignment, parameter
// arrays and events in a symbol.
QString dottedName(QString name) {
    name.replace(QStringLiteral("(anonymous namespace)"), QStringLiteral("anonymous"));
    name.replace(QRegularExpression(QStringLiteral("\\{lambda\\([^)]*\\)#\\d+\\}")),
                 QStringLiteral("lambda"));
    name = withoutTemplateArguments(name);
    name.replace(QStringLiteral("::"), QStringLiteral("."));
    static const QString markers = QStringLiteral("$=*#%&<>(){}[] ");
    QString out;
    for (const QChar c : name) {
        if (!markers.contains(c))
            out += c;
    }
    return out;
}

QString typeCode(QString type) {
    type = type.trimmed();
    QString prefix;
    if (type.endsWith(QLatin1Char('&')) && !type.endsWith(QLatin1String("&&"))) {
        type.chop(1);
        type = type.trimmed();
        if (!type.endsWith(QLatin1String(" const")) && !type.startsWith(QLatin1String("const ")))
            prefix = QStringLiteral("&"); // only a reference that may be written is passed "byref"
    } else if (type.endsWith(QLatin1String("&&"))) {
        type.chop(2);
    }
    type.remove(QRegularExpression(QStringLiteral("\\bconst\\b|\\bvolatile\\b")));
    type = type.simplified();
    if (type == QLatin1String("char*") || type == QLatin1String("char *"))
        return prefix + QStringLiteral("s");
    const bool pointer = type.endsWith(QLatin1Char('*'));
    while (type.endsWith(QLatin1Char('*')) || type.endsWith(QLatin1Char(' ')))
        type.chop(1);

    static const QList<QPair<QString, QString>> plain = {
        {"QString", "s"},       {"std::string", "s"},    {"std::__cxx11::basic_string", "s"},
        {"QByteArray", "s"},    {"bool", "b"},           {"signed char", "i1"},
        {"short", "i2"},        {"int", "i4"},           {"long", "i8"},
        {"long long", "i8"},    {"unsigned char", "u1"}, {"unsigned short", "u2"},
        {"unsigned int", "u4"}, {"unsigned long", "u8"}, {"unsigned long long", "u8"},
        {"float", "f4"},        {"double", "f8"},        {"QColor", "c"},
        {"QStringList", "A1s"}, {"char", "i1"},
    };
    if (!pointer) {
        for (const auto& [name, code] : plain) {
            if (type == name || (name.startsWith(QLatin1String("std::__cxx11")) && type.startsWith(name)))
                return prefix + code;
        }
        for (const char* list : {"QList<", "std::vector<", "QVector<"}) {
            if (type.startsWith(QLatin1String(list)) && type.endsWith(QLatin1Char('>'))) {
                const QString inner =
                    type.mid(qsizetype(qstrlen(list)), type.size() - qsizetype(qstrlen(list)) - 1);
                return prefix + QStringLiteral("A1") + typeCode(splitTopLevel(inner).value(0));
            }
        }
    }
    if (type == QLatin1String("void"))
        return {};
    return prefix + QStringLiteral("o<") + dottedName(type) + QLatin1Char('>');
}

bool isStartUpFrame(const QString& symbol) {
    return symbol.endsWith(QLatin1String("._RuntimeRegisterAppObject%%o<Application>")) ||
           symbol == QLatin1String("_NewAppInstance") || symbol == QLatin1String("_Main") ||
           symbol == QLatin1String("% main") || symbol.endsWith(QLatin1String("._RuntimeRun"));
}

} // namespace

QStringList ParseParams(const QString& codes) {
    enum class State { Start, ClassName, SignedWidth, UnsignedWidth, FloatWidth, ArrayDimensions };
    State state = State::Start;
    QStringList out;
    QString className;
    QList<QPair<qsizetype, int>> arrays;
    QList<qsizetype> byRef;
    for (const QChar c : codes) {
        switch (state) {
        case State::Start:
            switch (c.unicode()) {
            case 'i':
                state = State::SignedWidth;
                break;
            case 'u':
                state = State::UnsignedWidth;
                break;
            case 'o':
                state = State::ClassName;
                break;
            case 'b':
                out << QStringLiteral("boolean");
                break;
            case 's':
                out << QStringLiteral("string");
                break;
            case 'f':
                state = State::FloatWidth;
                break;
            case 'c':
                out << QStringLiteral("color");
                break;
            case 'A':
                state = State::ArrayDimensions;
                break;
            case '&':
                byRef << out.size();
                break;
            default:
                break;
            }
            break;
        case State::ClassName:
            if (c == QLatin1Char('>')) {
                out << className;
                className.clear();
                state = State::Start;
            } else if (c != QLatin1Char('<')) {
                className += c;
            }
            break;
        case State::SignedWidth:
            out << QStringLiteral("int") + QString::number(8 * digitValue(c));
            state = State::Start;
            break;
        case State::UnsignedWidth:
            out << QStringLiteral("uint") + QString::number(8 * digitValue(c));
            state = State::Start;
            break;
        case State::FloatWidth:
            if (c == QLatin1Char('4'))
                out << QStringLiteral("single");
            else if (c == QLatin1Char('8'))
                out << QStringLiteral("double");
            state = State::Start;
            break;
        case State::ArrayDimensions:
            arrays.append({out.size(), digitValue(c)});
            state = State::Start;
            break;
        }
    }
    // A suffix or a by-reference mark that no entry followed (the code ended too early) is dropped
    // rather than read past the end of the list.
    for (const auto& [position, dimensions] : arrays) {
        if (position < out.size())
            out[position] +=
                QLatin1Char('(') + QString(std::max(dimensions - 1, 0), QLatin1Char(',')) + QLatin1Char(')');
    }
    for (const qsizetype position : byRef) {
        if (position < out.size())
            out[position] = QStringLiteral("byref ") + out[position];
    }
    return out;
}

QString CleanMangledFunction(const QString& symbol) {
    if (isStartUpFrame(symbol))
        return {};
    const QStringList parts = symbol.split(QLatin1Char('%'));
    if (parts.size() < 3)
        return {};
    QString name = parts[0];
    QString result;
    if (!parts[1].isEmpty())
        result = ParseParams(parts[1]).value(ParseParams(parts[1]).size() - 1);
    QStringList params = ParseParams(parts[2]);

    if (!name.contains(QLatin1Char('$'))) {
        const QString owner = name.section(QLatin1Char('.'), 0, 0);
        if (!params.isEmpty() && params.first() == owner)
            params.removeFirst();
    } else {
        if (!params.isEmpty())
            params.first() = QStringLiteral("extends ") + params.first();
        name.remove(QLatin1Char('$'));
    }
    if (name.contains(QLatin1Char('='))) {
        if (!params.isEmpty())
            params.last() = QStringLiteral("assigns ") + params.last();
        name.remove(QLatin1Char('='));
    }
    if (name.contains(QLatin1Char('*'))) {
        if (!params.isEmpty())
            params.last() = QStringLiteral("paramarray ") + params.last();
        name.remove(QLatin1Char('*'));
    }
    QString kind;
    if (name.contains(QLatin1Char('#'))) {
        kind = QStringLiteral("Event");
        name.remove(QLatin1Char('#'));
    } else {
        kind = result.isEmpty() ? QStringLiteral("Sub") : QStringLiteral("Function");
    }
    QString line =
        kind + QLatin1Char(' ') + name +
        (params.isEmpty() ? QStringLiteral("()")
                          : QStringLiteral("( ") + params.join(QStringLiteral(", ")) + QStringLiteral(" )"));
    if (!result.isEmpty())
        line += QStringLiteral(" as ") + result;
    return line;
}

QStringList CleanStack(const QStringList& symbols) {
    QStringList lines;
    for (const QString& symbol : symbols) {
        const QString line = CleanMangledFunction(symbol);
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

QStringList CleanStack(std::exception_ptr error) {
    QStringList symbols;
    if (error) {
        try {
            std::rethrow_exception(error);
        } catch (...) {
            for (const QString& signature : ErrorStacks::ofCurrentException())
                symbols << SymbolFromSignature(signature);
        }
    }
    return CleanStack(symbols);
}

QString SymbolFromSignature(const QString& signature) {
    QString text = signature.trimmed();
    // Qualifiers after the parameter list say nothing the report needs.
    for (bool stripped = true; stripped;) {
        stripped = false;
        for (const char* tail : {" const", " volatile", " &&", " &", " noexcept"}) {
            if (text.endsWith(QLatin1String(tail))) {
                text.chop(qsizetype(qstrlen(tail)));
                stripped = true;
            }
        }
    }
    if (!text.endsWith(QLatin1Char(')')))
        return {}; // not a function (a data symbol or a bare name)
    qsizetype open = -1;
    int depth = 0;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        const QChar c = text[i];
        if (c == QLatin1Char(')') || c == QLatin1Char('>'))
            ++depth;
        else if ((c == QLatin1Char('(') || c == QLatin1Char('<')) && --depth == 0) {
            open = i;
            break;
        }
    }
    if (open <= 0 || matching(text, open) != text.size() - 1)
        return {};
    QString head = text.left(open).trimmed();
    const QString paramsText = text.mid(open + 1, text.size() - open - 2);

    // A template function is written with its result type first, separated by a blank outside brackets.
    QString resultCode;
    depth = 0;
    for (qsizetype i = head.size() - 1; i >= 0; --i) {
        const QChar c = head[i];
        if (c == QLatin1Char('>') || c == QLatin1Char(')'))
            ++depth;
        else if (c == QLatin1Char('<') || c == QLatin1Char('('))
            --depth;
        else if (c == QLatin1Char(' ') && depth == 0 && !head.left(i).endsWith(QLatin1String("operator"))) {
            resultCode = typeCode(head.left(i));
            head = head.mid(i + 1);
            break;
        }
    }
    QString paramCodes;
    for (const QString& param : splitTopLevel(paramsText)) {
        if (param != QLatin1String("void"))
            paramCodes += typeCode(param);
    }
    const QString name = dottedName(head);
    if (name.isEmpty() || name == QLatin1String("main"))
        return {};
    return name + QLatin1Char('%') + resultCode + QLatin1Char('%') + paramCodes;
}

} // namespace StackCleaner

namespace ErrorReport {

QString reportText(std::exception_ptr error) {
    const QStringList lines = StackCleaner::CleanStack(error);
    return QStringLiteral("Error: ") + modErrors::TypeOfException(error) + QLatin1Char('\n') +
           lines.join(QLatin1Char('\n'));
}

} // namespace ErrorReport
