#include "print/print_job.h"

#include "common/fields.h"
#include "common/numbers.h"
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
int Round(double value) {
    return int(std::nearbyint(value));
}

// A decimal number typed with "," or "." ("2,5", "-1.5"); 0 when it is none.
double Decimal(const QString& text) {
    bool ok = false;
    const double value = QString(text).replace(u',', u'.').toDouble(&ok);
    return ok ? value : 0.0;
}

} // namespace

int Arg::toInt() const {
    return number >= 0 ? number : ToInt(text);
}

PrinterGeometry PrintSurface::printerGeometry(const PrintJob& job) const {
    const QRect area = A4PageLayout(job.orientation()).paintRectPixels(300);
    return {area.width(), area.height(), 300};
}

PrintJob::PrintJob(const PrintSettings& initial, PageImages previous) : settings(initial) {
    if (settings.tempFolder.isEmpty()) settings.tempFolder = QDir::tempPath() + u'/';
    if (previous == PageImages::Keep) return;
    // The page images of the previous job are removed.
    const QDir folder(settings.tempFolder);
    for (const QString& name : folder.entryList({u"B_PRINT*.JPG"_s}, QDir::Files, QDir::Name))
        QFile::remove(folder.filePath(name));
}

PrintJob::~PrintJob() = default;

void PrintJob::setSurface(std::unique_ptr<PrintSurface> surface) {
    m_surface = std::move(surface);
}

bool PrintJob::has(SurfaceCapability capability) const {
    return m_surface && m_surface->capabilities().testFlag(capability);
}

void PrintJob::setPageRange(int first, int last) {
    m_firstPage = first;
    m_lastPage = last;
}

int PrintJob::pageColumns() const {
    return (m_metrics.pageWidth - m_right - m_left) / std::max(1, m_metrics.charWidth);
}

void PrintJob::setSpreadsheetColumn(int column) {
    if (m_surface) m_surface->setColumn(column);
}

bool PrintJob::inRange() const {
    const int page = m_pageNumber == 0 ? 1 : m_pageNumber;
    return m_firstPage <= page && page <= m_lastPage;
}

int PrintJob::readRow(const Arg& row, bool relativeInUnits, int* extra) const {
    if (extra) *extra = 0;
    if (row.number >= 0) return RowUnits(row.number);
    const QString text = row.text.trimmed();
    if (text.isEmpty()) return m_currentY;
    if (text.startsWith(u'+') || text.startsWith(u'-')) {
        const double n = Decimal(text.mid(1));
        const int sign = text.startsWith(u'+') ? 1 : -1;
        if (relativeInUnits) return m_currentY + sign * Round(n);
        if (extra) *extra = sign * Round(n);
        return m_currentY + sign * Round(n * m_metrics.lineHeight / 10.0);
    }
    return RowUnits(ToInt(text));
}

int PrintJob::RowUnits(int r) const {
    switch (settings.unitMode) {
    case 0:
        return r * m_metrics.lineHeight;
    case 1:
        return r;
    default:
        return Round(r * m_metrics.lineHeight / 10.0);
    }
}

int PrintJob::readColumn(const Arg& column) const {
    const int c = column.toInt();
    return settings.unitMode == 3 ? Round(double(c) * m_metrics.charWidth) : c;
}

void PrintJob::measure() {
    // Screen metrics: Arial 8 on a screen page.
    const QSize screen = CharacterCell(96);
    m_metrics.screenCharWidth = screen.width();
    m_metrics.screenLineHeight = screen.height();
    m_metrics.charWidth = m_metrics.screenCharWidth;
    m_metrics.lineHeight = m_metrics.screenLineHeight;
}

void PrintJob::convertMargins() {
    const int unitMode = settings.unitMode;
    if (unitMode == 1) {
        m_left = settings.leftMargin;
        m_right = settings.rightMargin;
        m_top = settings.topMargin;
        return;
    }
    m_left = Round(double(settings.leftMargin) * m_metrics.charWidth);
    m_right = Round(double(settings.rightMargin) * m_metrics.charWidth);
    const double line = unitMode == 3 ? m_metrics.lineHeight / 10.0 : m_metrics.lineHeight;
    m_top = Round(settings.topMargin * line);
}

void PrintJob::startJob() {
    if (m_cancelled || m_started) return;
    m_started = true;
    m_pageNumber = settings.pageNumber;
    setPageRange(settings.firstPage, settings.lastPage);
    if (!m_surface) m_surface = MakeSurface(settings.destination);
    measure();
    if (!has(SurfaceCapability::LineByLine) && !m_surface->setUp(*this)) {
        m_cancelled = true;
        return;
    }
    PageMetrics& m = m_metrics;
    const PrinterGeometry printer = m_surface->printerGeometry(*this);
    m.printerPageWidth = Round((printer.width - 5) * 0.99);
    m.printerPageHeight = printer.height - 5;
    m_surface->fixMetrics(m, *this);
    const QSize cell = CharacterCell(printer.dpi);
    m.printerCharWidth = cell.width();
    m.printerLineHeight = cell.height();
    m.previewWidth = Round(double(m.printerPageWidth) / m.printerCharWidth * m.charWidth);
    m.previewHeight = Round(double(m.printerPageHeight) / m.printerLineHeight * m.lineHeight);

    QString style = settings.jobFontStyle.toUpper();
    style.replace(u"FSBOLD"_s, u"B"_s)
        .replace(u"FSUNDERLINE"_s, u"S"_s)
        .replace(u"FSITALIC"_s, u"I"_s);
    m_jobFont = {settings.jobFontName, settings.jobFontSize, StyleCode(StyleFromCode(style))};

    if (has(SurfaceCapability::PreviewPages) || has(SurfaceCapability::Cells)) {
        m.pageWidth = m.previewWidth;
        m.pageHeight = m.previewHeight;
    } else if (has(SurfaceCapability::PrinterUnits)) {
        m.charWidth = m.printerCharWidth;
        m.lineHeight = m.printerLineHeight;
        m.pageWidth = m.printerPageWidth;
        m.pageHeight = m.printerPageHeight;
    }
    convertMargins();
    m_surface->open(*this);
}

void PrintJob::clearTextOneShots() {
    next.fontName.clear();
    next.fontSize = 0;
    next.fontStyle.clear();
    next.align.clear();
    next.penWidth = 0;
    next.rowOffset = 0;
    next.columnOffset = 0;
}

int PrintJob::alignedX(int x, Align align, const QString& text, const FontSpec& font) {
    const auto width = [&] { return m_surface->textWidth(text, font); };
    const int pageRight = m_metrics.pageWidth - m_right;
    const int n = int(text.size());
    switch (align) {
    case Align::Left:
        return x;
    case Align::Center:
        return x - width() / 2;
    case Align::Right:
        return x - width();
    case Align::PageCenter:
        return (pageRight - width()) / 2;
    case Align::PageRight:
        return pageRight - width();
    case Align::RightInField:
        return x + n * m_metrics.charWidth - width();
    case Align::BeforeField:
        return x - n * m_metrics.charWidth;
    }
    return x;
}

FontSpec PrintJob::fontOf(int size, const QString& style) const {
    return {next.fontName.isEmpty() ? m_jobFont.name : next.fontName,
            size == 0 ? m_jobFont.size : size,
            style.isEmpty() ? m_jobFont.style : StyleCode(StyleFromCode(style))};
}

// Draws a text whose row is resolved: `y` the row's position plus its extra,
// `row` the position currentY takes.
void PrintJob::drawText(int y, int row, int column, const QString& text, const FontSpec& font,
                        Align align) {
    y += Round(next.rowOffset * m_metrics.lineHeight / 10.0) + m_top;
    int x = column + Round(double(next.columnOffset) * m_metrics.charWidth) + m_left;
    if (settings.unitMode == 0) x += m_left; // texts take the left margin twice in this mode
    x = alignedX(x, align, text, font);
    m_surface->drawText(x, y, text, font, inRange());
    m_currentY = row;
    clearTextOneShots();
}

void PrintJob::printText(const Arg& row, const Arg& column, const QString& text, const Arg& size,
                         const QString& styleCode, const QString& alignCode) {
    if (m_cancelled || !m_surface) return;
    if (!size.isEmpty()) next.fontSize = size.toInt();
    if (!styleCode.isEmpty()) next.fontStyle = styleCode;
    if (!alignCode.isEmpty()) next.align = alignCode.left(2);
    if (has(SurfaceCapability::Cells) && text.trimmed().isEmpty()) {
        clearTextOneShots();
        return;
    }
    int extra = 0;
    const int row0 = readRow(row, false, &extra);
    drawText(row0 + extra, row0, readColumn(column), text, fontOf(next.fontSize, next.fontStyle),
             AlignFromCode(next.align));
}

void PrintJob::printText(int column, const QString& text, const TextFormat& format) {
    typedText(std::nullopt, column, text, format);
}

void PrintJob::printTextAt(int row, int column, const QString& text, const TextFormat& format) {
    typedText(row, column, text, format);
}

void PrintJob::typedText(std::optional<int> row, int column, const QString& text,
                         const TextFormat& format) {
    if (m_cancelled || !m_surface) return;
    if (has(SurfaceCapability::Cells) && text.trimmed().isEmpty()) {
        clearTextOneShots();
        return;
    }
    const int y = row ? RowUnits(*row) : m_currentY;
    const int size = format.size != 0 ? format.size : next.fontSize;
    const QString style = format.style ? StyleCode(*format.style) : next.fontStyle;
    const Align align = format.align != Align::Left ? format.align : AlignFromCode(next.align);
    drawText(y, y, readColumn(column), text, fontOf(size, style), align);
}

void PrintJob::newLine() {
    if (m_cancelled || !m_surface) return;
    if (has(SurfaceCapability::Cells) || has(SurfaceCapability::LineByLine)) {
        m_surface->newLine();
        return;
    }
    m_currentY += m_metrics.lineHeight;
    pageBreakCheck();
}

void PrintJob::halfLine() {
    if (m_cancelled || !m_surface) return;
    m_currentY = Round(m_currentY + m_metrics.lineHeight / 2.0);
    pageBreakCheck();
}

void PrintJob::pageBreakCheck() {
    if (!settings.autoPageBreak || m_cancelled) return;
    if (m_currentY < m_metrics.pageHeight - 4 * m_metrics.lineHeight - 50) return;
    drawRule(); // at currentY
    pageFooter();
    if (m_pageNumber < m_lastPage)
        newPage();
    else
        stopAtLastPage();
}

void PrintJob::stopAtLastPage() {
    endJob();
    m_cancelled = true;
}

void PrintJob::newPage() {
    if (m_cancelled || !m_surface) return;
    if (has(SurfaceCapability::PreviewPages)) ++m_pageCount;
    if (has(SurfaceCapability::PrinterUnits) && m_pageNumber == 0) m_pageNumber = 1;
    m_surface->endPage(inRange());
    if (onPage) onPage(*this);
    if (m_cancelled) return;
    pageHeader();
}

void PrintJob::pageHeader() {
    if (m_cancelled || !m_surface) return;
    ++m_pageNumber;
    if (m_pageNumber > m_lastPage) {
        stopAtLastPage();
        return;
    }
    m_currentY = 0;
    next.shade = u"0"_s;
    printText(QString(), 0, QString(), {});
    const QString date = platform::Clock::today().toString(u"dd/MM/yy"_s);
    const PrintSettings& s = settings;
    const auto headerFont = [this, &s] {
        next.fontName = s.headerFontName;
        next.fontSize = s.headerFontSize;
        next.fontStyle = s.headerFontStyle;
    };
    const auto titleFont = [this, &s] {
        next.fontName = s.titleFontName;
        next.fontSize = s.titleFontSize;
        next.fontStyle = s.titleFontStyle;
    };
    // One header text: the spreadsheet column it goes to, its alignment,
    // row and column.
    const auto put = [this](int sheetColumn, Align align, std::optional<int> row, int column,
                            const QString& text) {
        setSpreadsheetColumn(sheetColumn);
        typedText(row, column, text, align);
    };
    const QString number = ZeroPad(QString::number(m_pageNumber), 5) + u"  "_s;
    if (s.standardHeader && s.headerStyle == HeaderStyle::Simple) {
        drawRule(); // at currentY
        newLine();
        m_surface->skipRow();
        headerFont();
        put(1, Align::Left, std::nullopt, 1, s.companyName);
        titleFont();
        put(5, Align::PageCenter, std::nullopt, 50, s.title);
        put(10, Align::PageRight, std::nullopt, 50, s.pageLabel + u' ' + number);
        newLine();
        m_currentY = Round(m_currentY + m_metrics.lineHeight / 2.0);
        m_surface->skipRow();
        put(1, Align::Left, std::nullopt, 1, s.companyLine2);
        put(5, Align::PageCenter, std::nullopt, 50, s.subtitle);
        put(10, Align::PageRight, std::nullopt, 50, u"Data: "_s + date + u"  "_s);
        newLine();
        m_surface->skipRow();
        setSpreadsheetColumn(5);
        if (!s.subtitle2.isEmpty()) {
            printText(50, s.subtitle2, {8, std::nullopt, Align::PageCenter});
            newLine();
        }
        halfLine();
        drawRule();
        newLine();
    } else if (s.standardHeader && s.headerStyle == HeaderStyle::Boxed) {
        const bool extraLine = !s.boxTitle.isEmpty() || !s.boxLeftText.isEmpty();
        next.penWidth = 3;
        drawBox({}, u"0"_s, extraLine ? u"56"_s : u"45"_s, u"R"_s, u"0"_s);
        m_surface->skipRow();
        titleFont();
        put(1, Align::PageCenter, 5, 50, s.title);
        put(10, Align::PageRight, std::nullopt, 50, s.pageLabel + u"  "_s + number);
        newLine();
        headerFont();
        put(1, Align::Left, 17, 1, s.companyName);
        next.fontSize = s.headerFontSize;
        next.fontStyle = u"B"_s;
        put(5, Align::PageCenter, std::nullopt, 50, s.subtitle);
        put(10, Align::PageRight, std::nullopt, 50, u"Data: "_s + date + u"  "_s);
        newLine();
        put(1, Align::Left, 29, 1, s.companyLine2);
        put(5, Align::PageCenter, std::nullopt, 50, s.subtitle2);
        put(10, Align::PageRight, std::nullopt, 50,
            u"Hora: "_s + platform::Clock::now().time().toString(u"hh:mm:ss"_s) + u"  "_s);
        newLine();
        if (extraLine) {
            put(4, Align::Left, std::nullopt, 1, s.boxLeftText);
            setSpreadsheetColumn(5);
            printText(50, s.boxTitle, {10, StyleFlag::Bold, Align::PageCenter});
            newLine();
        }
        newLine();
    }
    m_headerPending = true;
}

void PrintJob::pageFooter() {
    if (m_cancelled || !m_surface || settings.footerText.isEmpty()) return;
    const PageMetrics& m = m_metrics;
    const int row = Round(10.0 * ((m.pageHeight - 4.0 * m.lineHeight) / m.lineHeight + 1));
    printText(row, u"0"_s, settings.footerText, {});
}

void PrintJob::drawRule(const Arg& row) {
    if (m_cancelled || !m_surface) return;
    next.penWidth = settings.ruleWidth;
    if (!has(SurfaceCapability::Cells) && inRange()) drawLine(row);
}

void PrintJob::drawLine(const Arg& row1, const Arg& column1, const Arg& row2, const Arg& ignored,
                        const QString& rawFlag, const Arg& column2) {
    Q_UNUSED(ignored);
    if (m_cancelled || !m_surface) return;
    const PageMetrics& m = m_metrics;
    const int yShift = Round(next.rowOffset * m.lineHeight / 10.0) + m_top;
    const int xShift = Round(double(next.columnOffset) * m.charWidth);
    const int rightEdge = m.pageWidth - 2 - m_right + xShift;
    int y1, y2, x1, x2;
    const bool rightGiven =
        !column2.isEmpty() && column2.number != 9999 && column2.text.trimmed() != u"9999"_s;
    if (rawFlag == u"R"_s) {
        y1 = row1.toInt() + yShift;
        y2 = row2.toInt() + yShift;
        x1 = column1.toInt() + m_left + xShift;
        x2 = rightGiven ? column2.toInt() + m_left + xShift : rightEdge;
    } else {
        y1 = readRow(row1, true) + yShift;
        y2 = readRow(row2, true) + yShift;
        x1 = readColumn(column1) + xShift + m_left;
        x2 = rightGiven ? Round(column2.toInt() * double(m.charWidth)) + xShift : rightEdge;
    }
    m_surface->drawLine(x1, y1, x2, y2, next.penWidth, inRange());
    next.penWidth = 0;
    next.rowOffset = 0;
    next.columnOffset = 0;
}

void PrintJob::drawBox(int top, int left, int bottom, BoxKind kind, int pen,
                       std::optional<int> right) {
    next.penWidth = pen;
    drawBox(top, left, bottom, kind == BoxKind::Filled ? u"R"_s : u"L"_s, {}, {},
            right ? Arg(*right) : Arg());
}

void PrintJob::drawBox(const Arg& top, const Arg& left, const Arg& bottom, const QString& kind,
                       const Arg& yOffset, const QString& unitsFlag, const Arg& right) {
    if (m_cancelled || !m_surface) return;
    if (m_pageNumber < m_firstPage || m_pageNumber > m_lastPage) return;
    const PageMetrics& m = m_metrics;
    const int o = yOffset.number >= 0 ? yOffset.number : Round(Decimal(yOffset.text));
    const int xShift = Round(double(next.columnOffset) * m.charWidth);
    int y1, y2, x1, x2;
    if (unitsFlag == u"P"_s) {
        y1 = top.isEmpty() ? m_currentY : top.toInt();
        y2 = y1 + bottom.toInt();
        x1 = left.toInt() + m_left + xShift;
        x2 = right.isEmpty() ? m.pageWidth - 2 - m_right : right.toInt() + m_left + xShift;
    } else {
        const int yShift = Round(next.rowOffset * m.lineHeight / 10.0) + m_top;
        y1 = readRow(top, false) + yShift;
        y2 = readRow(bottom, false) + yShift;
        x1 = readColumn(left) + xShift + m_left;
        x2 = right.isEmpty() ? m.pageWidth - 2 - m_right + xShift
                             : Round(right.toInt() * double(m.charWidth)) + xShift;
    }
    m_surface->drawBox(QRect(QPoint(x1, y1 + o), QPoint(x2, y2 + o)), kind == u"R"_s,
                       next.shade == u"1"_s, next.fillPattern, next.penWidth,
                       settings.cornerRadius);
    next.shade = u"0"_s;
    next.fillPattern = u"0"_s;
    next.penWidth = 0;
    next.rowOffset = 0;
    next.columnOffset = 0;
}

void PrintJob::drawRowSeparator(const Arg& y, const Arg& column) {
    if (m_cancelled || !m_surface || has(SurfaceCapability::Cells)) return;
    const PageMetrics& m = m_metrics;
    int top = y.isEmpty() ? m_currentY : y.toInt();
    top += Round(next.rowOffset * m.lineHeight / 10.0) + m_top;
    const int bottom = top + m.lineHeight;
    const int offsets = Round(double(next.columnOffset) * m.charWidth) + m_left;
    int x;
    if (column.isEmpty())
        x = m.pageWidth - 2 - m_right;
    else
        x = (settings.unitMode == 3 ? Round(column.toInt() * double(m.charWidth)) : 0) + offsets;
    m_surface->drawRowSeparator(x, top, bottom, next.penWidth, inRange());
    next.penWidth = 0;
}

void PrintJob::endJob() {
    if (m_cancelled || m_ended || !m_surface) return;
    m_ended = true;
    pageFooter();
    if (has(SurfaceCapability::PreviewPages)) {
        ++m_pageCount;
        if (m_lastPage > m_pageCount) m_lastPage = m_pageCount;
    }
    m_surface->finish();
}

void PrintJob::cancel() {
    endJob();
    m_cancelled = true;
}

void PrintJob::abandon() {
    m_cancelled = true;
    if (!m_ended) m_surface.reset(); // discards what the surface had written
}

} // namespace livrax::print
