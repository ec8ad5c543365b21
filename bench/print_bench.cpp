// The print engine against plain drawing: a long book of dense pages (the
// standard header, then 60 lines of 20 fields with column strokes, a rule
// every 5 lines and a box every 10) drawn through the engine to the text
// grid, to a PDF file and to the preview's page images, each beside a
// baseline that produces the same content directly: characters placed in a
// buffer, a QPainter on a QPdfWriter, a QPainter on a QImage saved as JPEG
// at quality 100.
//
//   print_bench [pages [folder [T|F|V]]]
//
// 500 pages by default; the outputs are kept in `folder` when one is given;
// a destination letter runs that engine target alone (for a profiler).

#include "data/globals.h"
#include "platform/clock.h"
#include "print/fonts.h"
#include "print/output_file.h"
#include "print/print_job.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <functional>

using namespace livrax;
using namespace livrax::print;
using namespace Qt::StringLiterals;

namespace {

constexpr int LinesPerPage = 60;
constexpr int FieldsPerLine = 20;
constexpr int FieldStep = 6; // characters between field columns

const QString Company = u"EMPRESA DEMONSTRAÇÃO COMÉRCIO LTDA"_s;
const QString Address = u"RUA DAS FLORES, 123 - CENTRO - SÃO PAULO - SP"_s;
const QString Title = u"REGISTRO DE SAÍDAS - MODELO P2"_s;

// The text of one field: dates, document numbers, codes and amounts, five
// characters or fewer so the fields never overlap.
QString FieldText(int page, int line, int field) {
    const int n = (page * LinesPerPage + line) * FieldsPerLine + field;
    switch (field % 4) {
    case 0:
        return QString::number(n % 90000 + 10000);
    case 1: // some 8,600 different amounts
        return QString::number(n % 97) + u',' + QString::number(10 + n % 89);
    case 2:
        return u"5.102"_s;
    default:
        return u"SP"_s + QString::number(n % 10);
    }
}

// Right-aligned fields (odd ones) end at this column; the others start at
// their own.
int FieldColumn(int field) {
    return 1 + field * FieldStep;
}
bool RightAligned(int field) {
    return field % 2 == 1;
}

void SetUpJob(PrintJob& job, const QString& destination, const QString& folder) {
    job.settings.destination = *DestinationFromCode(destination);
    job.settings.tempFolder = folder;
    job.settings.outputFile = folder + (destination == u"T"_s ? u"livro.txt"_s : u"livro.pdf"_s);
    job.settings.companyName = Company;
    job.settings.companyLine2 = Address;
    job.settings.title = Title;
    job.settings.autoPageBreak = false; // the book breaks its own pages every 60 lines
}

// The book through the engine's layout commands.
void EngineBook(PrintJob& job, int pages) {
    job.startJob();
    job.pageHeader();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) job.newPage();
        for (int line = 0; line < LinesPerPage; ++line) {
            if (line % 10 == 0) job.drawBox(QString(), u"0"_s, u"+100"_s, u"N"_s);
            for (int field = 0; field < FieldsPerLine; ++field) {
                const QString text = FieldText(page, line, field);
                if (RightAligned(field))
                    job.printText(FieldColumn(field) + FieldStep - 1, text, Align::Right);
                else
                    job.printText(FieldColumn(field), text);
                if (field % 4 == 0) job.drawRowSeparator(QString(), FieldColumn(field) - 1);
            }
            job.newLine();
            if (line % 5 == 4) job.drawRule();
        }
    }
    job.endJob();
}

// The metrics and page size the engine lays the book out with.
struct Geometry {
    int charWidth = 6, lineHeight = 14;
    int pageWidth = 823, pageHeight = 1225;
    int printerPageWidth = 2334;
};

Geometry MeasureGeometry(const QString& folder) {
    PrintJob job;
    SetUpJob(job, u"V"_s, folder);
    job.startJob();
    const PageMetrics& m = job.metrics();
    Geometry g{m.charWidth, m.lineHeight, m.pageWidth, m.pageHeight, m.printerPageWidth};
    job.pageHeader();
    job.endJob();
    return g;
}

// The same page drawn straight with one QPainter and fonts made once.
class DirectPage {
  public:
    explicit DirectPage(const Geometry& g)
        : m_g(g), m_body(MakeFont(FontSpec{u"Arial"_s, 8, {}}, 96)),
          m_bold(MakeFont(FontSpec{u"Arial"_s, 8, u"B"_s}, 96)), m_bodyMetrics(m_body),
          m_boldMetrics(m_bold) {}

    void draw(QPainter& p, int page) const {
        const int right = m_g.pageWidth - 2;
        const auto text = [&](int x, int y, const QString& s, const QFontMetrics& m) {
            p.drawText(QPointF(x, y + m.ascent()), s);
        };
        // Rules take the engine's rule width (1), boxes and strokes its
        // default pen (0, a hairline).
        const QPen rule(Qt::black, 1), hairline(Qt::black, 0);
        p.setPen(rule);
        int y = 0;
        p.drawLine(0, y, right, y);
        y += m_g.lineHeight;
        p.setFont(m_bold);
        text(m_g.charWidth, y, Company, m_boldMetrics);
        p.setFont(m_body);
        text((m_g.pageWidth - m_bodyMetrics.horizontalAdvance(Title)) / 2, y, Title, m_bodyMetrics);
        const QString pageText = u"Página: %1  "_s.arg(page + 1, 5, 10, QChar(u'0'));
        text(m_g.pageWidth - m_bodyMetrics.horizontalAdvance(pageText), y, pageText, m_bodyMetrics);
        y += m_g.lineHeight + m_g.lineHeight / 2;
        text(m_g.charWidth, y, Address, m_bodyMetrics);
        const QString date = u"Data: 09/03/26  "_s;
        text(m_g.pageWidth - m_bodyMetrics.horizontalAdvance(date), y, date, m_bodyMetrics);
        y += m_g.lineHeight + m_g.lineHeight / 2;
        p.drawLine(0, y, right, y);
        y += m_g.lineHeight;
        for (int line = 0; line < LinesPerPage; ++line) {
            p.setPen(hairline);
            if (line % 10 == 0) {
                const QRect box(QPoint(0, y), QPoint(right, y + 10 * m_g.lineHeight));
                const QPoint corners[] = {box.topLeft(), QPoint(box.right(), box.top()),
                                          box.bottomRight(), QPoint(box.left(), box.bottom()),
                                          box.topLeft()};
                p.drawPolyline(corners, 5);
            }
            for (int field = 0; field < FieldsPerLine; ++field) {
                const QString s = FieldText(page, line, field);
                int x = FieldColumn(field) * m_g.charWidth;
                if (RightAligned(field))
                    x = (FieldColumn(field) + FieldStep - 1) * m_g.charWidth -
                        m_bodyMetrics.horizontalAdvance(s);
                text(x, y, s, m_bodyMetrics);
                if (field % 4 == 0) {
                    const int sx = (FieldColumn(field) - 1) * m_g.charWidth;
                    p.drawLine(sx, y, sx, y + m_g.lineHeight);
                }
            }
            y += m_g.lineHeight;
            if (line % 5 == 4) {
                p.setPen(rule);
                p.drawLine(0, y, right, y);
            }
        }
    }

  private:
    Geometry m_g;
    QFont m_body, m_bold;
    QFontMetrics m_bodyMetrics, m_boldMetrics;
};

void BaselinePdf(const Geometry& g, const QString& fileName, int pages) {
    QPdfWriter writer(fileName);
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(5, 4, 5, 4), QPageLayout::Millimeter));
    QPainter painter(&writer);
    const double scale = double(g.printerPageWidth) / g.pageWidth;
    painter.scale(scale, scale);
    const DirectPage content(g);
    for (int page = 0; page < pages; ++page) {
        if (page > 0) writer.newPage();
        content.draw(painter, page);
    }
}

void BaselineImages(const Geometry& g, const QString& folder, int pages) {
    QImage image(g.pageWidth, g.pageHeight, QImage::Format_RGB32);
    QImageWriter writer;
    writer.setFormat("jpeg");
    writer.setQuality(100);
    const DirectPage content(g);
    for (int page = 0; page < pages; ++page) {
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::TextAntialiasing);
            content.draw(painter, page);
        }
        writer.setFileName(folder + u"BASE"_s + QString::number(page + 1) + u".JPG"_s);
        writer.write(image);
    }
}

// The text grid's content placed straight into lines of characters.
void BaselineText(const QString& fileName, int pages) {
    QStringList lines;
    const auto put = [](QString& line, int column, const QString& s) {
        for (int i = 0; i < s.size(); ++i)
            if (column + i >= 0 && column + i < 500) line[column + i] = s[i];
    };
    for (int page = 0; page < pages; ++page) {
        QString line(500, u' ');
        lines << line;
        put(line, 1, Company);
        put(line, (137 - int(Title.size())) / 2, Title);
        const QString pageText = u"Página: %1"_s.arg(page + 1, 5, 10, QChar(u'0'));
        put(line, 135 - int(pageText.size()), pageText);
        lines << line;
        line.fill(u' ');
        put(line, 1, Address);
        put(line, 121, u"Data: 09/03/26"_s);
        lines << line;
        lines << QString(500, u' ');
        for (int l = 0; l < LinesPerPage; ++l) {
            line.fill(u' ');
            for (int field = 0; field < FieldsPerLine; ++field) {
                const QString s = FieldText(page, l, field);
                const int column = RightAligned(field)
                                       ? FieldColumn(field) + FieldStep - 1 - int(s.size())
                                       : FieldColumn(field);
                put(line, column, s);
            }
            lines << line;
        }
    }
    for (QString& l : lines) {
        qsizetype end = l.size();
        while (end > 0 && l[end - 1] == u' ')
            --end;
        l.truncate(end);
    }
    WriteTextFile(fileName, lines);
}

// The best of a few runs: the figure least disturbed by the rest of the
// machine.
double Milliseconds(const std::function<void()>& run, int repeats = 3) {
    double best = 0;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        const double ms = timer.nsecsElapsed() / 1e6;
        if (i == 0 || ms < best) best = ms;
    }
    return best;
}

struct Target {
    const char* name;
    QString destination;
    std::function<void()> baseline;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int pages = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 500;
    platform::Clock::setFixed(QDateTime(QDate(2026, 3, 9), QTime(10, 0)));
    QTemporaryDir scratch;
    if (!scratch.isValid()) return 1;
    const QString folder = argc > 2 && argv[2][0]
                               ? QDir(QString::fromLocal8Bit(argv[2])).absolutePath() + u'/'
                               : scratch.path() + u'/';
    QDir().mkpath(folder);
    const QString only = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    data::Globals().registry.dirTemp = folder;

    const Geometry geometry = MeasureGeometry(folder);
    // Warm-up: fonts, codecs and the first PDF.
    {
        PrintJob job;
        SetUpJob(job, u"F"_s, folder);
        EngineBook(job, 2);
        BaselinePdf(geometry, folder + u"warm.pdf"_s, 2);
    }

    const Target targets[] = {
        {"text grid", u"T"_s, [&] { BaselineText(folder + u"base.txt"_s, pages); }},
        {"pdf", u"F"_s, [&] { BaselinePdf(geometry, folder + u"base.pdf"_s, pages); }},
        {"preview images", u"V"_s, [&] { BaselineImages(geometry, folder, pages); }},
    };
    std::printf("%d pages of %d lines x %d fields (best of 3 runs)\n", pages, LinesPerPage,
                FieldsPerLine);
    std::printf("%-16s %18s %20s %8s\n", "target", "engine ms/page", "baseline ms/page", "ratio");
    for (const Target& target : targets) {
        if (!only.isEmpty() && only != target.destination) continue;
        const double engine = Milliseconds([&] {
            PrintJob job;
            SetUpJob(job, target.destination, folder);
            EngineBook(job, pages);
            if (target.destination != u"T"_s && job.pageCount() != pages)
                std::fprintf(stderr, "warning: %d pages instead of %d\n", job.pageCount(), pages);
        });
        const double baseline = Milliseconds(target.baseline);
        std::printf("%-16s %18.3f %20.3f %8.2f\n", target.name, engine / pages, baseline / pages,
                    engine / baseline);
        std::fflush(stdout);
    }
    return 0;
}
