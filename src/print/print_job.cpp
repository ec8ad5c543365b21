#include "print/print_job.h"

#include "common/fields.h"
#include "common/numbers.h"
#include "data/globals.h"
#include "platform/clock.h"
#include "print/fonts.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>

#include <cmath>

namespace livrax::print {

using namespace Qt::StringLiterals;

namespace {

// Every computed position is rounded to a whole device unit, half to even.
int Round(double value) { return int(std::nearbyint(value)); }

// A decimal number typed with "," or "." ("2,5", "-1.5"); 0 when it is none.
double Decimal(const QString& text) {
    bool ok = false;
    const double value = QString(text).replace(u',', u'.').toDouble(&ok);
    return ok ? value : 0.0;
}

// The destinations laid out page by page like the preview.
bool IsPageImageDestination(const QString& destination) {
    return destination == u"V"_s || destination == u"W"_s || destination == u"K"_s ||
           destination == u"F"_s || destination == u"G"_s;
}

} // namespace

int Arg::toInt() const { return number >= 0 ? number : ToInt(text); }

PrinterGeometry PrintSurface::printerGeometry(const PrintJob& job) const {
    const QPageLayout layout(QPageSize(QPageSize::A4),
                             job.orientation == u"H"_s ? QPageLayout::Landscape
                                                       : QPageLayout::Portrait,
                             QMarginsF(5, 4, 5, 4), QPageLayout::Millimeter);
    const QRect area = layout.paintRectPixels(300);
    return {area.width(), area.height(), 300};
}

PrintJob::PrintJob(PageImages previous) {
    const data::SharedGlobals& globals = data::Globals();
    tempFolder = globals.registry.dirTemp.isEmpty() ? QDir::tempPath() + u'/'
                                                    : globals.registry.dirTemp;
    companyName = globals.company.name;
    companyLine2 = globals.company.address;
    if (previous == PageImages::Keep) return;
    // The page images of the previous job are removed.
    const QDir folder(tempFolder);
    for (const QString& name :
         folder.entryList({u"B_PRINT*.JPG"_s}, QDir::Files, QDir::Name))
        QFile::remove(folder.filePath(name));
}

PrintJob::~PrintJob() = default;

void PrintJob::setSurface(std::unique_ptr<PrintSurface> surface) { m_surface = std::move(surface); }

QString PrintJob::NormaliseStyle(const QString& style) {
    QString letters;
    for (const QChar c : style.toUpper())
        if ((c == u'B' || c == u'S' || c == u'I') && !letters.contains(c)) letters += c;
    if (letters == u"SB"_s) letters = u"BS"_s;
    return letters;
}

bool PrintJob::inRange() const {
    const int page = pageNumber == 0 ? 1 : pageNumber;
    return firstPage <= page && page <= lastPage;
}

int PrintJob::readRow(const Arg& row, bool relativeInUnits, int* extra) const {
    if (extra) *extra = 0;
    if (row.number >= 0) return RowUnits(row.number);
    const QString text = row.text.trimmed();
    if (text.isEmpty()) return currentY;
    if (text.startsWith(u'+') || text.startsWith(u'-')) {
        const double n = Decimal(text.mid(1));
        const int sign = text.startsWith(u'+') ? 1 : -1;
        if (relativeInUnits) return currentY + sign * Round(n);
        if (extra) *extra = sign * Round(n);
        return currentY + sign * Round(n * lineHeight / 10.0);
    }
    return RowUnits(ToInt(text));
}

int PrintJob::RowUnits(int r) const {
    switch (unitMode) {
    case 0:
        return r * lineHeight;
    case 1:
        return r;
    default:
        return Round(r * lineHeight / 10.0);
    }
}

int PrintJob::readColumn(const Arg& column) const {
    const int c = column.toInt();
    return unitMode == 3 ? Round(double(c) * charWidth) : c;
}

void PrintJob::measure() {
    // Screen metrics: Arial 8 on a screen page.
    const QSize screen = CharacterCell(96);
    screenCharWidth = screen.width();
    screenLineHeight = screen.height();
    charWidth = screenCharWidth;
    lineHeight = screenLineHeight;
}

void PrintJob::convertMargins() {
    if (unitMode == 1) return;
    leftMargin = Round(double(leftMargin) * charWidth);
    rightMargin = Round(double(rightMargin) * charWidth);
    const double line = unitMode == 3 ? lineHeight / 10.0 : lineHeight;
    topMargin = Round(topMargin * line);
    bottomMargin = Round(bottomMargin * line);
}

void PrintJob::startJob() {
    if (cancelled || m_started) return;
    m_started = true;
    if (orientation == u"0"_s || orientation.isEmpty()) orientation = u"V"_s;
    if (orientation == u"1"_s) orientation = u"H"_s;
    if (!m_surface) m_surface = MakeSurface(destination);
    measure();
    const bool textGrid = destination == u"T"_s;
    if (!textGrid && !m_surface->setUp(*this)) {
        cancelled = true;
        return;
    }
    const PrinterGeometry printer = m_surface->printerGeometry(*this);
    printerPageWidth = Round((printer.width - 5) * 0.99);
    printerPageHeight = printer.height - 5;
    if (textGrid) {
        charWidth = screenCharWidth = 6;
        lineHeight = screenLineHeight = 14;
        const bool landscape = orientation == u"H"_s;
        printerPageWidth = landscape ? 2381 : 2334;
        printerPageHeight = landscape ? 3361 : 3407;
    }
    const QSize cell = CharacterCell(printer.dpi);
    printerCharWidth = cell.width();
    printerLineHeight = cell.height();
    previewWidth = Round(double(printerPageWidth) / printerCharWidth * charWidth);
    previewHeight = Round(double(printerPageHeight) / printerLineHeight * lineHeight);

    QString style = jobFontStyle.toUpper();
    style.replace(u"FSBOLD"_s, u"B"_s).replace(u"FSUNDERLINE"_s, u"S"_s).replace(u"FSITALIC"_s, u"I"_s);
    jobFontStyle = NormaliseStyle(style);

    if (IsPageImageDestination(destination) || destination == u"E"_s) {
        pageWidth = previewWidth;
        pageHeight = previewHeight;
    } else if (destination == u"P"_s) {
        charWidth = printerCharWidth;
        lineHeight = printerLineHeight;
        pageWidth = printerPageWidth;
        pageHeight = printerPageHeight;
    }
    if (destination == u"E"_s) spreadsheetRow = spreadsheetColumn = 0;
    convertMargins();
    m_surface->open(*this);
}

void PrintJob::clearTextOneShots() {
    fontName.clear();
    fontSize = 0;
    fontStyle.clear();
    align.clear();
    penWidth = 0;
    rowOffset = 0;
    columnOffset = 0;
}

int PrintJob::alignedX(int x, const QString& code, const QString& text, const FontSpec& font) {
    const QString a = code == u"2"_s ? u"C"_s : code;
    const bool measured = a == u"C"_s || a == u"D"_s || a == u"CF"_s || a == u"DF"_s || a == u"1"_s;
    const int w = measured ? m_surface->textWidth(text, font) : 0;
    const int pageRight = pageWidth - rightMargin;
    const int n = int(text.size());
    if (a == u"C"_s) return x - w / 2;
    if (a == u"D"_s) return x - w;
    if (a == u"CF"_s) return (pageRight - w) / 2;
    if (a == u"DF"_s) return pageRight - w;
    if (a == u"1"_s) return x + n * charWidth - w;
    if (a == u"3"_s) return x - n * charWidth;
    return x;
}

void PrintJob::printText(const Arg& row, const Arg& column, const QString& text, const Arg& size,
                         const QString& style, const QString& alignCode) {
    if (cancelled || !m_surface) return;
    if (!size.isEmpty()) fontSize = size.toInt();
    if (!style.isEmpty()) fontStyle = style;
    if (!alignCode.isEmpty()) align = alignCode.left(2);
    if (align == u"2"_s) align = u"C"_s;
    if (destination == u"E"_s && text.trimmed().isEmpty()) {
        clearTextOneShots();
        return;
    }
    int extra = 0;
    const int row0 = readRow(row, false, &extra);
    int y = row0 + extra + Round(rowOffset * lineHeight / 10.0) + topMargin;
    int x = readColumn(column) + Round(double(columnOffset) * charWidth) + leftMargin;
    if (unitMode == 0) x += leftMargin; // texts take the left margin twice in this mode
    FontSpec font{fontName.isEmpty() ? jobFontName : fontName,
                  fontSize == 0 ? jobFontSize : fontSize,
                  fontStyle.isEmpty() ? jobFontStyle : NormaliseStyle(fontStyle)};
    x = alignedX(x, align, text, font);
    m_surface->drawText(x, y, text, font, inRange());
    currentY = row0;
    clearTextOneShots();
}

void PrintJob::newLine() {
    if (cancelled || !m_surface) return;
    if (destination == u"E"_s) {
        ++spreadsheetRow;
        return;
    }
    if (destination == u"T"_s) {
        m_surface->newLine();
        return;
    }
    currentY += lineHeight;
    pageBreakCheck();
}

void PrintJob::halfLine() {
    if (cancelled || !m_surface) return;
    currentY = Round(currentY + lineHeight / 2.0);
    pageBreakCheck();
}

void PrintJob::pageBreakCheck() {
    if (!autoPageBreak || cancelled) return;
    if (currentY < pageHeight - 4 * lineHeight - 50) return;
    drawRule(); // at currentY
    pageFooter();
    if (pageNumber < lastPage)
        newPage();
    else
        stopAtLastPage();
}

void PrintJob::stopAtLastPage() {
    endJob();
    cancelled = true;
}

void PrintJob::newPage() {
    if (cancelled || !m_surface) return;
    if (IsPageImageDestination(destination)) ++pageCount;
    if (destination == u"P"_s && pageNumber == 0) pageNumber = 1;
    m_surface->endPage(inRange());
    if (onPage) onPage(*this);
    if (cancelled) return;
    pageHeader();
}

void PrintJob::pageHeader() {
    if (cancelled || !m_surface) return;
    ++pageNumber;
    if (pageNumber > lastPage) {
        stopAtLastPage();
        return;
    }
    currentY = 0;
    shade = u"0"_s;
    printText(QString(), 0, QString());
    const QString date =
        platform::Clock::today().toString(u"dd/MM/yy"_s);
    const auto headerFont = [this] {
        fontName = headerFontName;
        fontSize = headerFontSize;
        fontStyle = headerFontStyle;
    };
    const auto titleFont = [this] {
        fontName = titleFontName;
        fontSize = titleFontSize;
        fontStyle = titleFontStyle;
    };
    // One header text: the spreadsheet column it goes to, its alignment,
    // row and column.
    const auto put = [this](int sheetColumn, const QString& alignCode, const Arg& row, int column,
                            const QString& text) {
        spreadsheetColumn = sheetColumn;
        align = alignCode;
        printText(row, column, text);
    };
    const QString number = ZeroPad(QString::number(pageNumber), 5) + u"  "_s;
    if (standardHeader && headerStyle.isEmpty()) {
        drawRule(); // at currentY
        newLine();
        ++spreadsheetRow;
        headerFont();
        put(1, QString(), {}, 1, companyName);
        titleFont();
        put(5, u"CF"_s, {}, 50, title);
        put(10, u"DF"_s, {}, 50, pageLabel + u' ' + number);
        newLine();
        currentY = Round(currentY + lineHeight / 2.0);
        ++spreadsheetRow;
        put(1, QString(), {}, 1, companyLine2);
        put(5, u"CF"_s, {}, 50, subtitle);
        put(10, u"DF"_s, {}, 50, u"Data: "_s + date + u"  "_s);
        newLine();
        ++spreadsheetRow;
        spreadsheetColumn = 5;
        if (!subtitle2.isEmpty()) {
            printText(QString(), 50, subtitle2, 8, QString(), u"CF"_s);
            newLine();
        }
        halfLine();
        drawRule();
        newLine();
    } else if (standardHeader && headerStyle == u"1"_s) {
        const bool extraLine = !boxTitle.isEmpty() || !boxLeftText.isEmpty();
        penWidth = 3;
        drawBox({}, u"0"_s, extraLine ? u"56"_s : u"45"_s, u"R"_s, u"0"_s);
        ++spreadsheetRow;
        titleFont();
        put(1, u"CF"_s, u"5"_s, 50, title);
        put(10, u"DF"_s, {}, 50, pageLabel + u"  "_s + number);
        newLine();
        headerFont();
        put(1, QString(), u"17"_s, 1, companyName);
        fontSize = headerFontSize;
        fontStyle = u"B"_s;
        put(5, u"CF"_s, {}, 50, subtitle);
        put(10, u"DF"_s, {}, 50, u"Data: "_s + date + u"  "_s);
        newLine();
        put(1, QString(), u"29"_s, 1, companyLine2);
        put(5, u"CF"_s, {}, 50, subtitle2);
        put(10, u"DF"_s, {}, 50,
            u"Hora: "_s + platform::Clock::now().time().toString(u"hh:mm:ss"_s) + u"  "_s);
        newLine();
        if (extraLine) {
            put(4, u"E"_s, {}, 1, boxLeftText);
            spreadsheetColumn = 5;
            printText(QString(), 50, boxTitle, 10, u"B"_s, u"CF"_s);
            newLine();
        }
        newLine();
    }
    headerPending = true;
}

void PrintJob::pageFooter() {
    if (cancelled || !m_surface || footerText.isEmpty()) return;
    const int row = Round(10.0 * ((pageHeight - 4.0 * lineHeight) / lineHeight + 1));
    printText(row, u"0"_s, footerText);
}

void PrintJob::drawRule(const Arg& row) {
    if (cancelled || !m_surface) return;
    penWidth = ruleWidth;
    if (destination != u"E"_s && inRange()) drawLine(row);
}

void PrintJob::drawLine(const Arg& row1, const Arg& column1, const Arg& row2, const Arg& ignored,
                        const QString& rawFlag, const Arg& column2) {
    Q_UNUSED(ignored);
    if (cancelled || !m_surface) return;
    const int yShift = Round(rowOffset * lineHeight / 10.0) + topMargin;
    const int xShift = Round(double(columnOffset) * charWidth);
    int y1, y2, x1, x2;
    const bool rightGiven = !column2.isEmpty() && column2.number != 9999 &&
                            column2.text.trimmed() != u"9999"_s;
    if (rawFlag == u"R"_s) {
        y1 = row1.toInt() + yShift;
        y2 = row2.toInt() + yShift;
        x1 = column1.toInt() + leftMargin + xShift;
        x2 = rightGiven ? column2.toInt() + leftMargin + xShift
                        : pageWidth - 2 - rightMargin + xShift;
    } else {
        y1 = readRow(row1, true) + yShift;
        y2 = readRow(row2, true) + yShift;
        x1 = readColumn(column1) + xShift + leftMargin;
        x2 = rightGiven ? Round(column2.toInt() * double(charWidth)) + xShift
                        : pageWidth - 2 - rightMargin + xShift;
    }
    m_surface->drawLine(x1, y1, x2, y2, penWidth, inRange());
    penWidth = 0;
    rowOffset = 0;
    columnOffset = 0;
}

void PrintJob::drawBox(const Arg& top, const Arg& left, const Arg& bottom, const QString& kind,
                       const Arg& yOffset, const QString& unitsFlag, const Arg& right) {
    if (cancelled || !m_surface) return;
    if (pageNumber < firstPage || pageNumber > lastPage) return;
    const int o = yOffset.number >= 0 ? yOffset.number : Round(Decimal(yOffset.text));
    const int xShift = Round(double(columnOffset) * charWidth);
    int y1, y2, x1, x2;
    if (unitsFlag == u"P"_s) {
        y1 = top.isEmpty() ? currentY : top.toInt();
        y2 = y1 + bottom.toInt();
        x1 = left.toInt() + leftMargin + xShift;
        x2 = right.isEmpty() ? pageWidth - 2 - rightMargin
                             : right.toInt() + leftMargin + xShift;
    } else {
        const int yShift = Round(rowOffset * lineHeight / 10.0) + topMargin;
        y1 = readRow(top, false) + yShift;
        y2 = readRow(bottom, false) + yShift;
        x1 = readColumn(left) + xShift + leftMargin;
        x2 = right.isEmpty() ? pageWidth - 2 - rightMargin + xShift
                             : Round(right.toInt() * double(charWidth)) + xShift;
    }
    m_surface->drawBox(QRect(QPoint(x1, y1 + o), QPoint(x2, y2 + o)), kind == u"R"_s,
                       shade == u"1"_s, fillPattern, penWidth, cornerRadius);
    shade = u"0"_s;
    fillPattern = u"0"_s;
    penWidth = 0;
    rowOffset = 0;
    columnOffset = 0;
}

void PrintJob::drawRowSeparator(const Arg& y, const Arg& column) {
    if (cancelled || !m_surface || destination == u"E"_s) return;
    int top = y.isEmpty() ? currentY : y.toInt();
    top += Round(rowOffset * lineHeight / 10.0) + topMargin;
    const int bottom = top + lineHeight;
    const int offsets = Round(double(columnOffset) * charWidth) + leftMargin;
    int x;
    if (column.isEmpty())
        x = pageWidth - 2 - rightMargin;
    else
        x = (unitMode == 3 ? Round(column.toInt() * double(charWidth)) : 0) + offsets;
    m_surface->drawRowSeparator(x, top, bottom, penWidth, inRange());
    penWidth = 0;
}

void PrintJob::endJob() {
    if (cancelled || m_ended || !m_surface) return;
    m_ended = true;
    pageFooter();
    if (IsPageImageDestination(destination)) {
        ++pageCount;
        if (lastPage > pageCount) lastPage = pageCount;
    }
    m_surface->finish();
}

void PrintJob::cancel() {
    endJob();
    cancelled = true;
}

} // namespace livrax::print
