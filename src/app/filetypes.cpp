#include "filetypes.h"

namespace FileTypes1 {

QStringList FileType::extensionList() const {
    return extensions.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

const QList<FileType>& all() {
    static const QList<FileType> types{
        {"thePref", ".pref", "NBQ*", "NBRB"},
        {"database", ".rbd", "nbDB", "NBRB"},
        {"anyfile", ".txt", "TEXT", "NBRB"},
        {"image/x-pict", ".pct", "PICT", "????"},
        {"image/x-tiff", ".tif", "????", "????"},
        {"image/jpeg", ".jpg", "JPEG", "????"},
        {"image/gif", ".gif", "GIFF", "????"},
        {"SavedSet", ".nbx", "NB+s", "NBRB"},
        {"tmpfile", ".tmp", "????", "NBRB"},
        {"text/plain", ".asc;.ascii;.bas;.c;.class;.cp;.cpp;.h;.hp;.hpp;.i3;.java;.m2;.m3;.mak;.text;.tsv;.txt",
         "TEXT", "????"},
    };
    return types;
}

const FileType* byName(const QString& name) {
    for (const FileType& t : all()) {
        if (t.name == name)
            return &t;
    }
    return nullptr;
}

QString filter(const QString& name) {
    const FileType* type = byName(name);
    if (!type)
        return {};
    QString description = type->name;
    if (type->name == QLatin1String(kSavedSet))
        description = QStringLiteral("Numbrook Riza problem sets");
    else if (type->name == QLatin1String(kText))
        description = QStringLiteral("Text files");
    QStringList patterns;
    for (const QString& ext : type->extensionList())
        patterns << QLatin1Char('*') + ext;
    return description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

} // namespace FileTypes1
