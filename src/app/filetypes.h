#pragma once

// The file types the program knows. Open and save dialogs name a type to filter by: "SavedSet" for
// problem-set files, "text/plain" for student lists. The old Mac type and creator codes are kept
// for the record; nothing here reads or writes them.

#include <QList>
#include <QString>
#include <QStringList>

namespace FileTypes1 {

struct FileType {
    QString name;       // the key a dialog filter names the type by
    QString extensions; // each with its leading ".", joined by ";"
    QString macType;
    QString macCreator;

    QStringList extensionList() const;
};

inline constexpr const char* kSavedSet = "SavedSet";
inline constexpr const char* kText = "text/plain";

// The ten types, in the order they are declared.
const QList<FileType>& all();
const FileType* byName(const QString& name);

// A dialog filter for the named type in Qt's "Description (*.a *.b)" form; empty for an unknown name.
QString filter(const QString& name);

} // namespace FileTypes1
