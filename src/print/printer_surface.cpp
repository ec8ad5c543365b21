#include "print/printer_surface.h"

#include "common/fields.h"
#include "print/fonts.h"
#include "print/output_file.h"
#include "print/print_job.h"
#include "print/print_range_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>

namespace livrax::print {

using namespace Qt::StringLiterals;

namespace {

// The paper-size codes of the printer settings: 1 letter, 5 legal, 9 A4.
constexpr int PaperLetter = 1;
constexpr int PaperLegal = 5;
constexpr int PaperA4 = 9;
// A code that leaves the paper as it is.
constexpr int PaperKeep = 4;

QString DefaultPdfFile(const PrintJob& job) {
    const PrintSettings& settings = job.settings;
    return settings.outputFile.isEmpty() ? settings.tempFolder + u"LIVRAX.PDF"_s
                                         : settings.outputFile;
}

} // namespace

PrinterSurface::PrinterSurface()
    : runDialog(ModalPrintDialog()), m_printer(QPrinter::HighResolution) {}

PrinterSurface::~PrinterSurface() {
    // A job abandoned half-way leaves neither a print nor a partial file.
    if (painter().isActive()) discardDocument();
}

QString PrinterSurface::DocumentFileName(const QString& fileName, int n) {
    if (n <= 1) return fileName;
    const QFileInfo info(fileName);
    const QString suffix = info.suffix();
    const QString number = u'-' + QString::number(n);
    if (suffix.isEmpty()) return fileName + number;
    return fileName.left(fileName.size() - suffix.size() - 1) + number + u'.' + suffix;
}

bool PrinterSurface::setUp(PrintJob& job) {
    const PrintSettings& settings = job.settings;
    if (!settings.interactive || !settings.outputFile.isEmpty()) {
        m_printer.setOutputFileName(DefaultPdfFile(job));
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        // The sheet the other destinations lay their pages out for.
        m_printer.setResolution(300);
        m_printer.setPageLayout(A4PageLayout(Orientation::Portrait));
    }
    const bool landscape = job.orientation() == Orientation::Landscape;
    m_printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    const int copies = ToInt(FormatDecimal(settings.copies, 0, 0));
    if (copies > 0) m_printer.setCopyCount(copies);
    applyPaper(job);
    // The print dialog's "print to file" names its file after the document.
    m_printer.setDocName(settings.documentName.isEmpty() ? settings.title : settings.documentName);

    if (settings.interactive) {
        if (!AskPrintRange(job, m_printer, runDialog)) return false;
        if (settings.paperReapply != PaperKeep) applyPaper(job);
    }
    return true;
}

void PrinterSurface::applyPaper(const PrintJob& job) {
    const PrintSettings& settings = job.settings;
    int code = settings.paperSizeCode;
    if (code == 0 && !settings.paperFormat.isEmpty()) {
        const QString format = settings.paperFormat.left(3).toUpper().trimmed();
        if (format == u"DEF"_s) return; // the printer's own paper
        if (format == u"A4"_s)
            code = PaperA4;
        else if (format == u"LEG"_s)
            code = PaperLegal;
        else if (format == u"CAR"_s)
            code = PaperLetter;
    }
    if (code == PaperKeep) return;
    if (code > 0) {
        const QPageSize::PageSizeId id = QPageSize::id(code);
        if (id != QPageSize::Custom) m_printer.setPageSize(QPageSize(id));
        return;
    }
    if (code < 0 || (settings.paperWidth <= 0 && settings.paperLength <= 0)) return;
    // A custom sheet in tenths of a millimetre; a side not given is kept.
    QSizeF size = m_printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    if (settings.paperWidth > 0) size.setWidth(settings.paperWidth / 10.0);
    if (settings.paperLength > 0) size.setHeight(settings.paperLength / 10.0);
    m_printer.setPageSize(QPageSize(size, QPageSize::Millimeter));
}

PrinterGeometry PrinterSurface::printerGeometry(const PrintJob&) const {
    const int dpi = m_printer.resolution();
    const QRect area = m_printer.pageLayout().paintRectPixels(dpi);
    return {area.width(), area.height(), dpi};
}

void PrinterSurface::open(PrintJob& job) {
    setJob(&job);
    Rules rules;
    rules.fontDpi = m_printer.resolution();
    rules.textsOutsideRange = false;
    rules.separatorsOutsideRange = false;
    rules.divideUnitMode1 = false;
    const PageMetrics& metrics = job.metrics();
    rules.penScale = metrics.screenLineHeight > 0
                         ? double(metrics.printerLineHeight) / metrics.screenLineHeight
                         : 1.0;
    rules.radiusScale = 3;
    setRules(rules);
    m_printer.setDocName(job.settings.title.isEmpty() ? job.settings.documentName
                                                      : job.settings.title);
    m_toFile = m_printer.outputFormat() == QPrinter::PdfFormat;
    if (m_toFile) {
        m_baseFile = m_printer.outputFileName();
        if (m_baseFile.isEmpty()) m_baseFile = DefaultPdfFile(job);
        if (job.settings.outputFile.isEmpty()) QDir().mkpath(job.settings.tempFolder);
    }
    beginDocument();
}

void PrinterSurface::beginDocument() {
    ++m_document;
    m_pendingPages = 0;
    m_documentUsed = false;
    if (m_toFile) {
        m_file = DocumentFileName(m_baseFile, m_document);
        m_staged = std::make_unique<StagedFile>(m_file);
        m_staged->setExpectedEnding("%%EOF");
        m_printer.setOutputFileName(m_staged->path());
    }
    if (!painter().begin(&m_printer)) {
        if (m_toFile) {
            m_staged.reset();
            throw PrintError(u"Não foi possível criar o arquivo "_s + m_file);
        }
        throw PrintError(u"Não foi possível iniciar a impressão em "_s + m_printer.printerName());
    }
    // The document opens with a blank at the top-left corner.
    const QFont font = MakeFont(job()->jobFont(), m_printer.resolution());
    painter().setFont(font);
    painter().drawText(QPointF(0, QFontMetrics(font).ascent()), u" "_s);
}

void PrinterSurface::endDocument() {
    painter().end();
    if (m_toFile) {
        const std::unique_ptr<StagedFile> staged = std::move(m_staged);
        staged->commit();
        m_files.append(m_file);
    }
}

void PrinterSurface::discardDocument() {
    if (m_toFile) {
        painter().end();
        m_staged.reset();
    } else {
        m_printer.abort();
        if (painter().isActive()) painter().end();
    }
}

void PrinterSurface::nextDocument() {
    // A document with nothing printed yet (pages before the print range)
    // goes on instead of coming out as an empty print.
    if (!m_documentUsed) {
        m_pendingPages = 0;
        return;
    }
    endDocument();
    beginDocument();
}

bool PrinterSurface::startDrawing() {
    if (!painter().isActive()) return false;
    for (; m_pendingPages > 0; --m_pendingPages)
        m_printer.newPage();
    m_documentUsed = true;
    return true;
}

void PrinterSurface::drawText(int x, int y, const QString& text, const FontSpec& font,
                              bool inRange) {
    if (!inRange || text.isEmpty() || !startDrawing()) return;
    PainterSurface::drawText(x, y, text, font, inRange);
}

void PrinterSurface::drawLine(int x1, int y1, int x2, int y2, int pen, bool inRange) {
    if (!inRange || !startDrawing()) return;
    PainterSurface::drawLine(x1, y1, x2, y2, pen, inRange);
}

void PrinterSurface::drawBox(const QRect& box, bool filled, bool shaded, const QString& pattern,
                             int pen, int radius) {
    if (!startDrawing()) return;
    PainterSurface::drawBox(box, filled, shaded, pattern, pen, radius);
}

void PrinterSurface::drawRowSeparator(int x, int top, int bottom, int pen, bool inRange) {
    if (!inRange || !startDrawing()) return;
    PainterSurface::drawRowSeparator(x, top, bottom, pen, inRange);
}

void PrinterSurface::endPage(bool inRange) {
    const PrintSettings& settings = job()->settings;
    if (m_toFile) {
        // Spool documents are for a printer: a print to a file is one file
        // with every page.
        if (inRange) ++m_pendingPages;
        return;
    }
    if (inRange) ++m_pagesInDocument;
    if (m_pagesInDocument >= settings.pagesPerSpoolDocument) {
        nextDocument();
        m_pagesInDocument = 0;
    } else if (settings.documentPerPage) {
        nextDocument();
    } else if (inRange) {
        ++m_pendingPages; // started when something is drawn on it
    }
}

void PrinterSurface::finish() {
    if (!painter().isActive()) return;
    // The first document always comes out; a later one only with something
    // printed in it.
    if (m_documentUsed || m_document == 1)
        endDocument();
    else
        discardDocument();
}

} // namespace livrax::print
