// SPDX-License-Identifier: GPL-3.0-or-later
// mkguide: writes the PDF manual "Guida.pdf" from the guide pages that the
// program shows in its guide window (resources/guide/<key>.txt).
//
//   mkguide <output.pdf> <page.txt>...
//
// Each page becomes a chapter titled as its window title; pages missing from
// the chapter table follow, in name order, titled with their file name, so a
// new page only needs its text file (and a table line for its proper title).

#include "core/guidetext.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QTextTableFormat>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString kManualTitle = QStringLiteral("Fondaro 3.0 - Guida all'utilizzo");

struct ChapterTitle {
    const char *key;
    const char *title;
};

// Chapter order of the manual and the titles the guide window shows.
const ChapterTitle kChapterTable[] = {
    {"generale", "Uno sguardo a Fondaro 3.0."},
    {"movimenti", "Applicazione Registro Movimenti."},
    {"bilancio", "Applicazione Primanota e Bilancio."},
    {"grafici", "Applicazione Grafici Statistici."},
    {"categorie", "Riepilogo per categoria e rendiconto per cassa."},
    {"importa_estratto", "Importa estratto conto."},
    {"importa_fatture", "Importa fatture elettroniche."},
    {"copie_sicurezza", "Copie di sicurezza."},
    {"cartella", "Dove si trovano i dati."},
};

struct Chapter {
    QString title;
    QStringList paragraphs;
};

constexpr int kResolution = 300;  // dots per inch of the PDF layout
constexpr qreal kBodyPt = 11.5;
constexpr qreal kChapterPt = 20;
constexpr qreal kTitlePt = 28;
constexpr qreal kFooterPt = 8.5;

QFont makeFont(qreal pointSize, bool bold = false)
{
    // DejaVu Sans ships with the program's fonts and has every accented
    // letter; Liberation Sans stands in if it is ever missing.
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    // Without shaping no ligatures are formed, so the PDF text extracts
    // exactly as written ("ff", "fi" stay two letters).
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

QTextCharFormat charFormat(qreal pointSize, bool bold = false, const QColor &colour = Qt::black)
{
    QTextCharFormat f;
    f.setFont(makeFont(pointSize, bold));
    f.setForeground(colour);
    return f;
}

// Paragraphs are separated by empty lines; a paragraph's own line breaks
// (if any) are kept as blanks so that the text flows on the page.
QStringList readParagraphs(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return {};
    }
    QStringDecoder decode(QStringDecoder::Utf8);
    QString text = decode(file.readAll());
    if (decode.hasError()) {
        *error = QStringLiteral("%1 is not UTF-8 text").arg(path);
        return {};
    }
    const QStringList paragraphs = fondaro::guideParagraphs(text);
    if (paragraphs.isEmpty())
        *error = QStringLiteral("%1 has no text").arg(path);
    return paragraphs;
}

// Orders the pages: first those of the chapter table, in its order, then the
// others by file name.
std::vector<Chapter> loadChapters(const QStringList &files, QString *error)
{
    struct Page {
        int rank;
        QString key;
        QString title;
        QString path;
    };
    std::vector<Page> pages;
    for (const QString &path : files) {
        const QString key = QFileInfo(path).completeBaseName();
        Page page{int(std::size(kChapterTable)), key, key, path};
        for (int i = 0; i < int(std::size(kChapterTable)); ++i) {
            if (key == QLatin1String(kChapterTable[i].key)) {
                page.rank = i;
                page.title = QString::fromUtf8(kChapterTable[i].title);
            }
        }
        pages.push_back(page);
    }
    std::stable_sort(pages.begin(), pages.end(), [](const Page &a, const Page &b) {
        return a.rank != b.rank ? a.rank < b.rank : a.key < b.key;
    });

    std::vector<Chapter> chapters;
    for (const Page &page : pages) {
        Chapter chapter{page.title, readParagraphs(page.path, error)};
        if (!error->isEmpty())
            return {};
        chapters.push_back(chapter);
    }
    return chapters;
}

// Builds the whole manual: a title page with the table of contents, then one
// chapter per page of the guide, each starting on a new sheet. chapterPages
// holds the page number of each chapter (zeros on the first pass, when the
// layout has not been measured yet; the contents fit on the title page, so
// filling them in moves nothing).
void buildDocument(QTextDocument &doc, const std::vector<Chapter> &chapters,
                   const std::vector<int> &chapterPages)
{
    doc.clear();
    QTextCursor cursor(&doc);

    const QColor accent(0x1f, 0x3b, 0x73);
    const QColor grey(0x55, 0x55, 0x55);

    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);

    QTextBlockFormat titleBlock = centred;
    titleBlock.setTopMargin(260);
    titleBlock.setBottomMargin(40);
    cursor.setBlockFormat(titleBlock);
    // The title stays on one line: the largest size up to kTitlePt that fits.
    const qreal textWidth = doc.pageSize().width();
    qreal titlePt = kTitlePt;
    while (titlePt > kBodyPt
           && QFontMetricsF(makeFont(titlePt, true), doc.documentLayout()->paintDevice())
                      .horizontalAdvance(kManualTitle) > textWidth * 0.95)
        titlePt -= 1;
    cursor.insertText(kManualTitle, charFormat(titlePt, true, accent));

    QTextBlockFormat subtitleBlock = centred;
    subtitleBlock.setBottomMargin(300);
    cursor.insertBlock(subtitleBlock);
    cursor.insertText(QStringLiteral("Manuale dell'utente"), charFormat(16, false, grey));

    QTextBlockFormat indexHeading;
    indexHeading.setBottomMargin(40);
    cursor.insertBlock(indexHeading);
    cursor.insertText(QStringLiteral("Indice"), charFormat(16, true, accent));

    // Contents as a borderless two-column table: chapter title, page number.
    QTextTableFormat indexTable;
    indexTable.setBorder(0);
    indexTable.setCellPadding(6);
    indexTable.setCellSpacing(0);
    indexTable.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    indexTable.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 88),
                                          QTextLength(QTextLength::PercentageLength, 12)});
    QTextTable *table = cursor.insertTable(int(chapters.size()), 2, indexTable);
    QTextBlockFormat pageColumn;
    pageColumn.setAlignment(Qt::AlignRight);
    for (size_t i = 0; i < chapters.size(); ++i) {
        QTextCursor titleCell = table->cellAt(int(i), 0).firstCursorPosition();
        titleCell.insertText(QStringLiteral("%1. %2").arg(i + 1).arg(chapters[i].title),
                             charFormat(kBodyPt));
        const int page = i < chapterPages.size() ? chapterPages[i] : 0;
        QTextCursor pageCell = table->cellAt(int(i), 1).firstCursorPosition();
        pageCell.setBlockFormat(pageColumn);
        pageCell.insertText(page > 0 ? QString::number(page) : QStringLiteral("-"),
                            charFormat(kBodyPt));
    }
    cursor.movePosition(QTextCursor::End);

    for (size_t i = 0; i < chapters.size(); ++i) {
        QTextBlockFormat heading;
        heading.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        heading.setBottomMargin(70);
        heading.setProperty(QTextFormat::UserProperty, int(i) + 1);  // marks a chapter start
        cursor.insertBlock(heading);
        cursor.insertText(chapters[i].title, charFormat(kChapterPt, true, accent));

        QTextBlockFormat body;
        body.setAlignment(Qt::AlignJustify);
        body.setBottomMargin(28);
        body.setLineHeight(125, QTextBlockFormat::ProportionalHeight);
        for (const QString &paragraph : chapters[i].paragraphs) {
            cursor.insertBlock(body);
            cursor.insertText(paragraph, charFormat(kBodyPt));
        }
    }
}

std::vector<int> measureChapterPages(QTextDocument &doc, size_t chapterCount)
{
    std::vector<int> pages(chapterCount, 0);
    const qreal pageHeight = doc.pageSize().height();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QVariant mark = block.blockFormat().property(QTextFormat::UserProperty);
        if (!mark.isValid())
            continue;
        const int index = mark.toInt() - 1;
        const qreal top = doc.documentLayout()->blockBoundingRect(block).top();
        if (index >= 0 && size_t(index) < chapterCount)
            pages[index] = int(top / pageHeight) + 1;
    }
    return pages;
}

// Draws the lines that start on one page, line by line: a whole-layout draw
// clipped to the page would still put the clipped lines of a paragraph that
// runs on into the PDF, where text extraction and search find them twice.
void drawPage(QPainter &painter, const QTextDocument &doc, qreal pageTop, qreal pageHeight)
{
    painter.save();
    painter.translate(0, -pageTop);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        if (!layout)
            continue;
        const QPointF origin = doc.documentLayout()->blockBoundingRect(block).topLeft();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const qreal top = origin.y() + line.y();
            if (top >= pageTop && top < pageTop + pageHeight)
                line.draw(&painter, origin);
        }
    }
    painter.restore();
}

void drawFooter(QPainter &painter, const QRectF &area, int pageNumber)
{
    painter.save();
    painter.setFont(makeFont(kFooterPt));
    painter.setPen(QPen(QColor(0x88, 0x88, 0x88), 2));
    const QRectF rule = area.adjusted(0, area.height() * 0.35, 0, 0);
    painter.drawLine(rule.topLeft(), rule.topRight());
    painter.setPen(QColor(0x55, 0x55, 0x55));
    const QRectF text = rule.adjusted(0, 12, 0, 0);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, kManualTitle);
    painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Pagina %1").arg(pageNumber));
    painter.restore();
}

// A build that names its date (SOURCE_DATE_EPOCH, as the Debian package
// build does) gets that date in place of the clock's, so that two builds write
// the same bytes; the digits keep their number, so no offset moves. The time
// is UTC: the package build runs with TZ=UTC, which Qt writes as "Z".
void stampSourceDate(QByteArray &pdf)
{
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    const QByteArray key = "/CreationDate (D:";
    const qsizetype at = pdf.indexOf(key);
    if (!ok || at < 0 || pdf.size() < at + key.size() + 14)
        return;
    const QByteArray digits =
        QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC).toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    pdf.replace(at + key.size(), digits.size(), digits);
}

bool writeManual(const QString &outPath, const std::vector<Chapter> &chapters, QString *error)
{
    // Written aside and moved into place at the end, so the program folder
    // never holds a half-written manual.
    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write %1: %2").arg(outPath, out.errorString());
        return false;
    }
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setResolution(kResolution);
    writer.setTitle(kManualTitle);
    writer.setCreator(QStringLiteral("Fondaro 3.0"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(22, 20, 22, 14), QPageLayout::Millimeter));

    QPainter painter;
    if (!painter.begin(&writer)) {
        *error = QStringLiteral("cannot write %1").arg(outPath);
        return false;
    }

    const QRectF paintRect = writer.pageLayout().paintRectPixels(kResolution);
    const qreal footerHeight = kResolution * 0.5;  // about 13 mm below the text
    const QSizeF bodySize(paintRect.width(), paintRect.height() - footerHeight);

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    doc.setDefaultFont(makeFont(kBodyPt));
    doc.setDocumentMargin(0);
    doc.setPageSize(bodySize);

    buildDocument(doc, chapters, {});
    buildDocument(doc, chapters, measureChapterPages(doc, chapters.size()));

    const qreal pageHeight = bodySize.height();
    const int pageCount = doc.pageCount();
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0)
            writer.newPage();
        drawPage(painter, doc, page * pageHeight, pageHeight);
        if (page > 0)
            drawFooter(painter, QRectF(0, pageHeight, bodySize.width(), footerHeight), page + 1);
    }
    if (!painter.end()) {
        *error = QStringLiteral("cannot finish %1").arg(outPath);
        return false;
    }
    QByteArray bytes = pdf.data();
    stampSourceDate(bytes);
    if (out.write(bytes) != bytes.size() || !out.commit()) {
        *error = QStringLiteral("cannot finish %1: %2").arg(outPath, out.errorString());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: mkguide <output.pdf> <page.txt>...\n");
        return 2;
    }

    QString error;
    const std::vector<Chapter> chapters = loadChapters(args.mid(1), &error);
    if (!error.isEmpty() || chapters.empty()) {
        const QString reason = error.isEmpty() ? QStringLiteral("no pages") : error;
        std::fprintf(stderr, "mkguide: %s\n", qPrintable(reason));
        return 1;
    }
    if (!writeManual(args.first(), chapters, &error)) {
        std::fprintf(stderr, "mkguide: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
