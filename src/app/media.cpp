#include "media.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace SpecialFolderWendle {

QString BundleMacOSFolder() {
    // Tests give the program a folder of their own, so that nothing they make lands in the build tree.
    const QString overridden = qEnvironmentVariable("NBR_PROGRAM_DIR");
    if (!overridden.isEmpty())
        return QFileInfo(overridden).absoluteFilePath();
    return QCoreApplication::applicationDirPath();
}

QString BundleContentsFolder() {
    const QString macOS = BundleMacOSFolder();
    if (macOS.isEmpty())
        return {};
    QDir dir(macOS);
    return dir.cdUp() ? dir.absolutePath() : QString();
}

QStringList shippedFolders() {
    const QString macOS = BundleMacOSFolder();
    if (macOS.isEmpty())
        return {};
    return {macOS, QDir::cleanPath(QDir(macOS).absoluteFilePath(QStringLiteral(NBR_SHARED_FROM_BIN)))};
}

QString findShipped(const QString& name, bool folder) {
    for (const QString& base : shippedFolders()) {
        const QFileInfo candidate(QDir(base).absoluteFilePath(name));
        if (folder ? candidate.isDir() : candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return {};
}

QStringList resourcesCandidates() {
    // Tests point the program at the source tree's resources.
    const QString overridden = qEnvironmentVariable("NBR_RESOURCES_DIR");
    if (!overridden.isEmpty())
        return {QFileInfo(overridden).absoluteFilePath()};
    // Beside the executable first; then beside its folder, as in a bundle-like tree; then installed.
    QStringList bases = shippedFolders();
    if (const QString contents = BundleContentsFolder(); !contents.isEmpty() && !bases.isEmpty())
        bases.insert(1, contents);
    QStringList candidates;
    for (const QString& base : bases)
        candidates << QDir(base).absoluteFilePath(QStringLiteral("Resources"));
    candidates.removeDuplicates();
    return candidates;
}

QString BundleResourcesFolder() {
    for (const QString& candidate : resourcesCandidates()) {
        if (QFileInfo(candidate).isDir())
            return candidate;
    }
    return {};
}

} // namespace SpecialFolderWendle

namespace ProjectMedia {
namespace {

const QSet<QString>& jpegPictures() {
    static const QSet<QString> names{"BlkBkg",        "CBoxNorm",   "Click2",       "CtrlPanel2", "OVRInfo",
                                     "NBQ2007Splash", "newProgCnv", "newerMissPlt", "NoStar",     "smallstar",
                                     "selMDBtn",      "XStar",      "Blank",        "Eight",      "Five",
                                     "Four",          "neg",        "Nine",         "One",        "Seven",
                                     "Six",           "Three",      "Two",          "zero",       "TBHelp"};
    return names;
}

QHash<QString, QPixmap>& keptPictures() {
    static QHash<QString, QPixmap> kept;
    return kept;
}

QHash<QString, QString>& keptSounds() { // tried sounds: path, or empty when the attempt failed
    static QHash<QString, QString> kept;
    return kept;
}

} // namespace

QString pictureFileName(const QString& projectName) {
    if (projectName == QLatin1String("HiLo"))
        return QStringLiteral("Hi.Lo.png");
    if (projectName == QLatin1String("smallstar"))
        return QStringLiteral("small star.jpg");
    // The one picture drawn in the old PICT format ships as PNG under its project name.
    return projectName +
           (jpegPictures().contains(projectName) ? QStringLiteral(".jpg") : QStringLiteral(".png"));
}

QString soundFileName(const QString& projectName) {
    return projectName + QStringLiteral(".wav");
}

QPixmap picture(const QString& projectName) {
    auto& kept = keptPictures();
    if (auto it = kept.constFind(projectName); it != kept.constEnd())
        return *it;
    const QString folder = SpecialFolderWendle::BundleResourcesFolder();
    if (folder.isEmpty())
        return {};
    QPixmap pixmap(QDir(folder).absoluteFilePath(pictureFileName(projectName)));
    if (!pixmap.isNull())
        kept.insert(projectName, pixmap);
    return pixmap;
}

QString soundPath(const QString& projectName) {
    auto& kept = keptSounds();
    if (auto it = kept.constFind(projectName); it != kept.constEnd())
        return *it;
    QString path;
    const QString folder = SpecialFolderWendle::BundleResourcesFolder();
    if (!folder.isEmpty()) {
        const QString candidate = QDir(folder).absoluteFilePath(soundFileName(projectName));
        if (QFileInfo(candidate).isReadable())
            path = candidate;
    }
    kept.insert(projectName, path);
    return path;
}

const QStringList& pictureNames() {
#define NBR_NAME(name) QStringLiteral(#name),
    static const QStringList names{NBR_PICTURES(NBR_NAME)};
    return names;
}

const QStringList& soundNames() {
    static const QStringList names{NBR_SOUNDS(NBR_NAME)};
#undef NBR_NAME
    return names;
}

QStringList missingFiles(const QString& folder) {
    QStringList files;
    for (const QString& name : pictureNames())
        files << pictureFileName(name);
    for (const QString& name : soundNames())
        files << soundFileName(name);
    if (folder.isEmpty())
        return files;
    const QDir dir(folder);
    files.removeIf([&dir](const QString& file) { return QFileInfo(dir.absoluteFilePath(file)).isFile(); });
    return files;
}

void forgetAll() {
    keptPictures().clear();
    keptSounds().clear();
}

} // namespace ProjectMedia
