#include "efiles/sintegra_settings.h"

#include "common/field_text.h"
#include "common/fields.h"
#include "data/param_store.h"
#include "data/routing.h"

#include <array>

namespace livrax::efiles {

using namespace Qt::StringLiterals;

namespace {

const QString Key = u"PAR_SINTEGRA"_s;
// The settings live beside the customers and suppliers (VRTNEMP).
const QString Table = u"EMP"_s;

constexpr int FlagsWidth = 100;
constexpr std::array<int, 11> FlagTypes{50, 51, 53, 54, 55, 60, 61, 70, 71, 75, 88};

// The box of a record type in the settings: the window's record boxes, and
// the two that are always unticked there.
bool* Box(SintegraSettings& s, int type) {
    if (type == 60) return &s.record60;
    if (type == 88) return &s.record88;
    return s.choice.box(type);
}

QString YesNo(bool value) {
    return value ? u"S"_s : u"N"_s;
}

// Field n (1-based) of a list split from a line, set, the list grown as needed.
void SetField(QStringList& fields, int n, const QString& value) {
    while (fields.size() < n)
        fields.append(QString());
    fields[n - 1] = FieldText(value);
}

// Sets `target` from field n of the split line when that field is not empty.
void TakeIfSet(const QStringList& fields, int n, QString& target) {
    const QString value = fields.value(n - 1);
    if (!value.isEmpty()) target = value;
}

// The informant's text fields of line 10 (fields 2-9) and 11 (fields 2-8).
std::array<QString SintegraInformant::*, 8> Line10Fields() {
    return {&SintegraInformant::cnpj,      &SintegraInformant::stateReg,
            &SintegraInformant::name,      &SintegraInformant::municipality,
            &SintegraInformant::state,     &SintegraInformant::fax,
            &SintegraInformant::startDate, &SintegraInformant::endDate};
}
std::array<QString SintegraInformant::*, 7> Line11Fields() {
    return {&SintegraInformant::street,     &SintegraInformant::number,
            &SintegraInformant::complement, &SintegraInformant::district,
            &SintegraInformant::postalCode, &SintegraInformant::contact,
            &SintegraInformant::phone};
}

// Line 10 fields 16-20, in order.
std::array<bool SintegraSettings::*, 5> Line10Boxes() {
    return {&SintegraSettings::air, &SintegraSettings::road, &SintegraSettings::waybills,
            &SintegraSettings::zeroExitIcms, &SintegraSettings::zeroEntryIcms};
}

} // namespace

QString DefaultSintegraFile() {
    return u"C:\\GIA_.TXT"_s;
}

QString DefaultEntryFreightFilter() {
    return u"NATOPER=1352 OR NATOPER=2352"_s;
}

SintegraSettings CompanyDefaults() {
    SintegraSettings s;
    s.outputFile = DefaultSintegraFile();
    SintegraInformant& i = s.informant;
    i.agreement = u"3 - Convênio 76/03"_s;
    i.natures = u"3 - Totalidade das operações do informante"_s;
    i.purpose = u"1 - Normal"_s;
    data::ParamRead(data::ParamDatabase(), u"VRTNCAE"_s, 20);
    const data::ParamLineArray& company = data::ParamLines();
    const QStringList line1 = SplitToList(company.line(1));
    const QStringList line2 = SplitToList(company.line(2));
    const QStringList line3 = SplitToList(company.line(3));
    const QStringList line4 = SplitToList(company.line(4));
    i.cnpj = line4.value(0);
    i.stateReg = line4.value(1);
    i.name = line1.value(0);
    i.street = line1.value(1);
    i.municipality = line2.value(0);
    i.state = line2.value(1);
    i.postalCode = line2.value(2);
    i.district = line2.value(3);
    i.phone = line3.value(1);
    return s;
}

SintegraSettings LoadSintegraSettings() {
    SintegraSettings s = CompanyDefaults();
    data::ParamRead(data::DatabaseFor(Table), Key, SintegraSettingsLines);
    const data::ParamLineArray& saved = data::ParamLines();
    s.entryFilter = saved.line(2);
    s.exitFilter = saved.line(3);
    TakeIfSet(SplitToList(saved.line(4)), 2, s.outputFile);

    const QString flags = saved.line(5);
    for (int type : FlagTypes)
        *Box(s, type) = flags.size() >= type && flags.at(type - 1) == u'S';

    const QStringList line6 = SplitToList(saved.line(6));
    s.freightFromEntries = line6.value(0) == u"S"_s;
    s.entryFreightFilter = line6.value(1);
    TakeIfSet(line6, 3, s.freightPayer);
    if (s.freightFromEntries && s.entryFreightFilter.isEmpty())
        s.entryFreightFilter = DefaultEntryFreightFilter();

    const QStringList line10 = SplitToList(saved.line(10));
    const auto own10 = Line10Fields();
    for (std::size_t f = 0; f < own10.size(); ++f)
        TakeIfSet(line10, int(f) + 2, s.informant.*own10[f]);
    // Field 10, the convênio, is written but not read back.
    TakeIfSet(line10, 11, s.informant.natures);
    TakeIfSet(line10, 12, s.informant.purpose);
    s.blankEntrySeries = line10.value(12) == u"S"_s;
    s.blankExitSeries = line10.value(13) == u"S"_s;
    TakeIfSet(line10, 15, s.entrySeries50);
    const auto boxes10 = Line10Boxes();
    for (std::size_t f = 0; f < boxes10.size(); ++f) {
        const QString value = line10.value(int(f) + 15);
        // The "Montar" boxes are ticked unless saved "N"; the zeroing boxes
        // only when saved "S".
        s.*boxes10[f] = f < 3 ? value != u"N"_s : value == u"S"_s;
    }

    const QStringList line11 = SplitToList(saved.line(11));
    const auto own11 = Line11Fields();
    for (std::size_t f = 0; f < own11.size(); ++f)
        TakeIfSet(line11, int(f) + 2, s.informant.*own11[f]);

    const QStringList line12 = SplitToList(saved.line(12));
    s.exitFilter61 = line12.value(1);
    s.model61 = line12.value(2);
    s.series61 = line12.value(3);
    s.subSeries61 = line12.value(4);
    return s;
}

QString RecordFlags(const SintegraSettings& settings) {
    SintegraSettings copy = settings;
    QString flags(FlagsWidth, u' ');
    for (int type : FlagTypes)
        flags[type - 1] = *Box(copy, type) ? u'S' : u'N';
    return flags;
}

bool SaveSintegraSettings(const SintegraSettings& s) {
    data::Connection* database = data::DatabaseFor(Table);
    data::ParamRead(database, Key, SintegraSettingsLines);
    data::ParamLineArray& lines = data::ParamLines();
    lines.setLine(2, s.entryFilter);
    lines.setLine(3, s.exitFilter);
    QStringList line4 = SplitToList(lines.line(4));
    SetField(line4, 1, QString());
    SetField(line4, 2, s.outputFile);
    lines.setLine(4, JoinFields(line4));
    lines.setLine(5, RecordFlags(s));

    QStringList line6 = SplitToList(lines.line(6));
    SetField(line6, 1, YesNo(s.freightFromEntries));
    SetField(line6, 2, s.entryFreightFilter.trimmed());
    SetField(line6, 3, s.freightPayer.left(1));
    for (int f = 4; f <= 6; ++f)
        SetField(line6, f, QString());
    lines.setLine(6, JoinFields(line6));

    QStringList line10 = SplitToList(lines.line(10));
    const auto own10 = Line10Fields();
    for (std::size_t f = 0; f < own10.size(); ++f)
        SetField(line10, int(f) + 2, s.informant.*own10[f]);
    SetField(line10, 10, s.informant.agreement);
    SetField(line10, 11, s.informant.natures);
    SetField(line10, 12, s.informant.purpose);
    SetField(line10, 13, YesNo(s.blankEntrySeries));
    SetField(line10, 14, YesNo(s.blankExitSeries));
    SetField(line10, 15, s.entrySeries50);
    const auto boxes10 = Line10Boxes();
    for (std::size_t f = 0; f < boxes10.size(); ++f)
        SetField(line10, int(f) + 16, YesNo(s.*boxes10[f]));
    lines.setLine(10, JoinFields(line10));

    QStringList line11 = SplitToList(lines.line(11));
    const auto own11 = Line11Fields();
    for (std::size_t f = 0; f < own11.size(); ++f)
        SetField(line11, int(f) + 2, s.informant.*own11[f]);
    lines.setLine(11, JoinFields(line11));

    QStringList line12 = SplitToList(lines.line(12));
    SetField(line12, 2, s.exitFilter61);
    SetField(line12, 3, s.model61);
    SetField(line12, 4, s.series61);
    SetField(line12, 5, s.subSeries61);
    lines.setLine(12, JoinFields(line12));
    return data::ParamWrite(database, Key, SintegraSettingsLines);
}

SintegraStagingOptions StagingOptionsOf(const SintegraSettings& s) {
    SintegraStagingOptions o;
    o.startDate = s.informant.startDate;
    o.endDate = s.informant.endDate;
    o.choice = s.choice;
    o.blankEntrySeries = s.blankEntrySeries;
    o.blankExitSeries = s.blankExitSeries;
    o.entrySeries50 = s.entrySeries50;
    o.zeroExitIcms = s.zeroExitIcms;
    o.zeroEntryIcms = s.zeroEntryIcms;
    o.freightFromEntries = s.freightFromEntries;
    o.freightPayer = s.freightPayer.left(1);
    o.air = s.air;
    o.road = s.road;
    o.waybills = s.waybills;
    o.model61 = s.model61;
    o.series61 = s.series61;
    o.subSeries61 = s.subSeries61;
    o.entryFilter = s.entryFilter;
    o.exitFilter = s.exitFilter;
    o.exitFilter61 = s.exitFilter61;
    o.entryFreightFilter = s.entryFreightFilter;
    o.informantState = s.informant.state;
    return o;
}

} // namespace livrax::efiles
