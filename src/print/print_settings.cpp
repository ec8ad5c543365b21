#include "print/print_settings.h"

#include "data/globals.h"

#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <cmath>

namespace livrax::print {

namespace {

struct DestinationLetter {
    Destination destination;
    char16_t code;
};

constexpr DestinationLetter DestinationLetters[] = {
    {Destination::Preview, u'V'},       {Destination::Printer, u'P'},
    {Destination::TextGrid, u'T'},      {Destination::Spreadsheet, u'E'},
    {Destination::WordProcessor, u'W'}, {Destination::Email, u'K'},
    {Destination::PdfFile, u'F'},       {Destination::TextPages, u'G'},
};

} // namespace

std::optional<Destination> DestinationFromCode(const QString& code) {
    if (code.size() != 1) return std::nullopt;
    for (const DestinationLetter& entry : DestinationLetters)
        if (code.front() == entry.code) return entry.destination;
    return std::nullopt;
}

QString DestinationCode(Destination destination) {
    for (const DestinationLetter& entry : DestinationLetters)
        if (entry.destination == destination) return QString(QChar(entry.code));
    return {};
}

Orientation OrientationFromCode(const QString& code) {
    return code == u"H"_s || code == u"1"_s ? Orientation::Landscape : Orientation::Portrait;
}

QPageLayout A4PageLayout(Orientation orientation) {
    return QPageLayout(QPageSize(QPageSize::A4),
                       orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                             : QPageLayout::Portrait,
                       QMarginsF(5, 4, 5, 4), QPageLayout::Millimeter);
}

QMargins SheetMargins(Orientation orientation, int pageWidth) {
    const QPageLayout paper = A4PageLayout(orientation);
    const QMarginsF margins = paper.margins(QPageLayout::Millimeter);
    const double unitsPerMm = double(pageWidth) / paper.paintRect(QPageLayout::Millimeter).width();
    const auto units = [unitsPerMm](double mm) { return int(std::lround(mm * unitsPerMm)); };
    return QMargins(units(margins.left()), units(margins.top()), units(margins.right()),
                    units(margins.bottom()));
}

HeaderStyle HeaderStyleFromCode(const QString& code) {
    return code == u"1"_s ? HeaderStyle::Boxed : HeaderStyle::Simple;
}

Align AlignFromCode(const QString& code) {
    const QString a = code.left(2);
    if (a == u"C"_s || a == u"2"_s) return Align::Center;
    if (a == u"D"_s) return Align::Right;
    if (a == u"CF"_s) return Align::PageCenter;
    if (a == u"DF"_s) return Align::PageRight;
    if (a == u"1"_s) return Align::RightInField;
    if (a == u"3"_s) return Align::BeforeField;
    return Align::Left;
}

Style StyleFromCode(const QString& code) {
    Style style;
    for (const QChar c : code.toUpper()) {
        if (c == u'B') style |= StyleFlag::Bold;
        if (c == u'S') style |= StyleFlag::Underline;
        if (c == u'I') style |= StyleFlag::Italic;
    }
    return style;
}

QString StyleCode(Style style) {
    QString code;
    if (style.testFlag(StyleFlag::Bold)) code += u'B';
    if (style.testFlag(StyleFlag::Underline)) code += u'S';
    if (style.testFlag(StyleFlag::Italic)) code += u'I';
    return code;
}

QString PdfDocumentName(const PrintSettings& settings) {
    QString name = settings.documentName.trimmed();
    if (name.isEmpty()) name = settings.title.trimmed();
    if (name.isEmpty()) name = u"Relatorio"_s;
    for (QChar& c : name)
        if (c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' || c == u'"' ||
            c == u'<' || c == u'>' || c == u'|')
            c = u'-';
    return name + u".pdf"_s;
}

PrintSettings CompanyPrintSettings() {
    const data::SharedGlobals& globals = data::Globals();
    PrintSettings settings;
    settings.tempFolder = globals.registry.dirTemp;
    settings.companyName = globals.company.name;
    settings.companyLine2 = globals.company.address;
    return settings;
}

} // namespace livrax::print
