#include "studentlistfile.h"

#include "data/dbctrl.h"
#include "data/outsidefile.h"

#include <QStringDecoder>

namespace StudentListFile {
namespace {

// Windows-1252 where it differs from Latin-1: the characters of bytes 0x80 to 0x9F. The five bytes it
// leaves undefined keep their Latin-1 control character.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString fromWindows1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(kCp1252High[b - 0x80]) : QChar(b));
    }
    return text;
}

// UTF-16 from a file may hold half of a pair of surrogates alone, which is no character and could not
// be stored: it becomes the replacement character, as a broken UTF-8 sequence does.
void replaceLoneSurrogates(QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
}

QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes, bool* valid = nullptr) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    replaceLoneSurrogates(text);
    if (valid)
        *valid = !decoder.hasError();
    return text;
}

bool sameWord(const QString& field, const char* word) {
    return field.trimmed().compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

} // namespace

QString decode(const QByteArray& bytes) {
    const QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        return decodeWith(QStringConverter::Utf8, view.sliced(3));
    if (view.startsWith("\xFF\xFE"))
        return decodeWith(QStringConverter::Utf16LE, view.sliced(2));
    if (view.startsWith("\xFE\xFF"))
        return decodeWith(QStringConverter::Utf16BE, view.sliced(2));
    bool valid = false;
    QString text = decodeWith(QStringConverter::Utf8, view, &valid);
    return valid ? text : fromWindows1252(bytes);
}

bool isHeading(const QString& name, const QString& password) {
    return sameWord(name, "Student Name") || sameWord(name, "Name") || sameWord(name, "Student") ||
           sameWord(password, "Password");
}

Contents read(const QByteArray& bytes) {
    Contents contents;
    QString text = decode(bytes);
    if (text.contains(QChar(0))) {
        contents.problem = Problem::NotText;
        return contents;
    }
    // A mark some programs leave at the start of every block of text they append is no part of any name.
    text.remove(QChar(0xFEFF));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    bool firstTabbed = true;
    int lineNumber = 0;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        ++lineNumber;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            continue;
        // The name runs to the first tab and the password to the next; whatever follows is not ours.
        const QStringView afterName = line.sliced(tab + 1);
        const qsizetype nextTab = afterName.indexOf(QLatin1Char('\t'));
        Student student{line.first(tab).toString(),
                        (nextTab < 0 ? afterName : afterName.first(nextTab)).toString(), lineNumber};
        const bool first = firstTabbed;
        firstTabbed = false;
        if (first && isHeading(student.name, student.password)) {
            contents.headingSkipped = true;
            continue;
        }
        if (student.name.trimmed().isEmpty()) {
            ++contents.blankNames;
            continue;
        }
        // One password that could never be typed costs its own student only, not the whole file.
        if (!DBCtrl::passwordUsable(student.password)) {
            contents.unusablePasswords.append(std::move(student));
            continue;
        }
        contents.students.append(std::move(student));
    }
    if (contents.students.isEmpty() && contents.unusablePasswords.isEmpty())
        contents.problem = Problem::NoStudents;
    return contents;
}

Contents readFile(const QString& path) {
    const OutsideFile::Contents file = OutsideFile::read(path, kMaxBytes);
    if (file.ok())
        return read(file.bytes);
    Contents contents;
    contents.problem =
        file.problem == OutsideFile::Problem::TooLarge ? Problem::TooLarge : Problem::CannotOpen;
    return contents;
}

} // namespace StudentListFile
