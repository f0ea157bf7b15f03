#pragma once

// The help window's page view: an HTML view that reads every page and picture itself, as the reader
// of any file from outside should, instead of leaving it to Qt's own unbounded reading. A page is read
// only from a regular file of at most kLargestPage bytes whose elements nest no deeper than
// kMaxNesting (Qt's HTML reading takes time in the square of the nesting); any other page is refused
// with the help window's message and the view keeps what it showed.

#include <QString>
#include <QTextBrowser>
#include <QUrl>

class HelpView : public QTextBrowser {
    Q_OBJECT
public:
    // The program's pages are a few kilobytes and nest a few elements deep.
    static constexpr qint64 kLargestPage = 128 * 1024;
    static constexpr int kMaxNesting = 100;
    static constexpr qint64 kLargestPicture = 16 * 1024 * 1024;

    static QString damagedOrMissing() { return QStringLiteral("That help file is damaged or missing."); }

    explicit HelpView(QWidget* parent = nullptr);

    // The text of the page in the file, or a null string when it is no page to show.
    static QString readPage(const QString& path);

    QVariant loadResource(int type, const QUrl& name) override;

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

private:
    QUrl resolved(const QUrl& name) const;

    // The page doSetSource read and checked, handed to the loading it starts.
    QUrl pendingUrl_;
    QString pendingText_;
};
