#include "helpview.h"

#include "data/outsidefile.h"
#include "data/seams.h"
#include "htmlsubset.h"

#include <QStringDecoder>

HelpView::HelpView(QWidget* parent) : QTextBrowser(parent) {}

QString HelpView::readPage(const QString& path) {
    const OutsideFile::Contents file = OutsideFile::read(path, kLargestPage);
    if (!file.ok())
        return {};
    // Decoded as Qt decodes a page it reads: by its mark or its meta charset, otherwise as UTF-8.
    QStringDecoder decoder = QStringDecoder::decoderForHtml(file.bytes);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    QString text = decoder.decode(file.bytes);
    if (HtmlSubset::nestingDepth(text, kMaxNesting) > kMaxNesting)
        return {};
    if (text.isNull())
        text = QLatin1String(""); // an empty file is an empty page
    return text;
}

QUrl HelpView::resolved(const QUrl& name) const {
    return name.isRelative() ? source().resolved(name) : name;
}

void HelpView::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
    const QUrl url = resolved(name);
    const QUrl file = url.adjusted(QUrl::RemoveFragment);
    // A move within the page shown reads nothing.
    if (!url.isLocalFile() || file == source().adjusted(QUrl::RemoveFragment)) {
        QTextBrowser::doSetSource(name, type);
        return;
    }
    const QString text = readPage(url.toLocalFile());
    if (text.isNull()) {
        Seams::dialogs().plainMessage(damagedOrMissing());
        return;
    }
    pendingUrl_ = file;
    pendingText_ = text;
    QTextBrowser::doSetSource(name, type);
    pendingUrl_.clear();
    pendingText_.clear();
}

QVariant HelpView::loadResource(int type, const QUrl& name) {
    const QUrl url = resolved(name);
    if (!url.isLocalFile())
        return QTextBrowser::loadResource(type, name);
    if (type == QTextDocument::ImageResource || type == QTextDocument::StyleSheetResource) {
        const OutsideFile::Contents file = OutsideFile::read(url.toLocalFile(), kLargestPicture);
        return file.ok() ? QVariant(file.bytes) : QVariant();
    }
    if (!pendingUrl_.isEmpty() && url.adjusted(QUrl::RemoveFragment) == pendingUrl_)
        return pendingText_;
    // A reload, or a page reached through the history.
    const QString text = readPage(url.toLocalFile());
    return text.isNull() ? QVariant() : QVariant(text);
}
