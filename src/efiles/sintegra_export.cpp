#include "efiles/sintegra_export.h"

#include "common/dates.h"
#include "common/text.h"

#include <QDir>
#include <QFileInfo>

namespace livrax::efiles {

using namespace Qt::StringLiterals;

std::optional<SintegraRefusal> CheckSintegraExport(const SintegraInformant& i) {
    if (IsBlank(i.contact))
        return SintegraRefusal{u"Obrigatório informar o Nome da Pessoa de Contato"_s, u"T-11"_s,
                               u"E_CONTATO"_s};
    if (IsBlank(i.phone))
        return SintegraRefusal{u"Obrigatório informar o Telefone para Contato"_s, u"T-11"_s,
                               u"E_TELEFONE"_s};
    if (IsBlank(i.cnpj))
        return SintegraRefusal{u"Obrigatório informar o CNPJ"_s, u"T-10"_s, u"E_CNPJ10"_s};
    if (IsBlank(i.stateReg))
        return SintegraRefusal{u"Obrigatório informar a Inscriçào Estadual"_s, u"T-10"_s,
                               u"E_INSCEST"_s};
    if (IsBlank(i.number) && IsBlank(i.complement))
        return SintegraRefusal{u"Obrigatório informar o Número ou Complemento"_s, u"T-11"_s,
                               u"E_NUMERO"_s};
    if (IsBlank(i.startDate) || IsBlank(i.endDate))
        return SintegraRefusal{u"Deve ser informada a Data Inicial e a Final"_s, u"T-10"_s,
                               u"E_DTINICIAL"_s, true};
    // A date that is no date would be written into record 10 as typed and
    // would select nothing sensible: refused like the books refuse it.
    if (!IsValidShortDate(i.startDate))
        return SintegraRefusal{u"Data inválida: "_s + i.startDate, u"T-10"_s, u"E_DTINICIAL"_s};
    if (!IsValidShortDate(i.endDate))
        return SintegraRefusal{u"Data inválida: "_s + i.endDate, u"T-10"_s, u"E_DTFINAL"_s};
    return std::nullopt;
}

std::optional<SintegraRefusal> CheckStagingPeriod(const QString& startDate,
                                                  const QString& endDate) {
    if (IsBlank(startDate) || IsBlank(endDate))
        return SintegraRefusal{u"A Data Inicial e Final devem estar Preenchidas"_s, u"T-10"_s,
                               u"E_DTINICIAL"_s};
    if (!IsValidShortDate(startDate))
        return SintegraRefusal{u"Data inválida: "_s + startDate, u"T-10"_s, u"E_DTINICIAL"_s};
    if (!IsValidShortDate(endDate))
        return SintegraRefusal{u"Data inválida: "_s + endDate, u"T-10"_s, u"E_DTFINAL"_s};
    return std::nullopt;
}

QString ProposedSintegraFileName(const QString& outputFile, const QString& endDate) {
    const qsizetype separator = qMax(outputFile.lastIndexOf(u'\\'), outputFile.lastIndexOf(u'/'));
    const QString folder = separator < 0 ? QString() : outputFile.left(separator + 1);
    // Characters 4 to 8 of "dd/mm/yy" are "mm/yy".
    const QString monthYear = endDate.mid(3, 5).remove(u'/');
    return folder + u"GIA_"_s + monthYear;
}

namespace {

// A folder named in a stored path that exists on this system; on a system
// whose separator is "/", a path with a backslash is another system's.
bool IsFolderHere(const QString& folder) {
    if (folder.isEmpty()) return false;
    if (QDir::separator() == u'/' && folder.contains(u'\\')) return false;
    return QFileInfo(folder).isDir();
}

} // namespace

QString SintegraSaveProposal(const QString& outputFile, const QString& endDate) {
    const QString proposed = ProposedSintegraFileName(outputFile, endDate);
    const QString name = ProposedSintegraFileName(QString(), endDate);
    const QString folder = proposed.left(proposed.size() - name.size());
    return IsFolderHere(folder) ? proposed : QDir::current().filePath(name);
}

QString WithDefaultExtension(const QString& fileName) {
    const qsizetype separator = qMax(fileName.lastIndexOf(u'\\'), fileName.lastIndexOf(u'/'));
    return fileName.mid(separator + 1).contains(u'.') ? fileName : fileName + u".TXT"_s;
}

const std::vector<int>& CountedRecordTypes() {
    static const std::vector<int> types{50, 51, 53, 54, 55, 61, 70, 71, 75};
    return types;
}

SintegraFile ComposeSintegraFile(const SintegraInformant& informant, const SintegraChoice& choice,
                                 const SintegraGnre& gnre, const SintegraStaging& staging,
                                 const WriterStarted& started) {
    const auto starting = [&started](int type) {
        if (started) started(type);
    };
    SintegraWriter writer(informant, choice);
    starting(10);
    writer.Write10And11();
    starting(50);
    writer.Write50(staging.rows50);
    starting(51);
    writer.Write51(staging.rows51);
    starting(53);
    writer.Write53With54(staging.rows53, DatabaseItems());
    starting(55);
    writer.Write55(gnre);
    starting(61);
    writer.Write61(staging.rows61);
    starting(70);
    writer.Write70(staging.rows70);
    starting(71);
    writer.Write71(staging.rows71);
    starting(75);
    SintegraFile file;
    file.products75 = ReadProducts75(writer.products75());
    writer.Write75(file.products75);
    starting(90);
    writer.Write90();
    file.lines = writer.lines();
    for (int type : CountedRecordTypes())
        file.counts[type] = writer.count(type);
    return file;
}

} // namespace livrax::efiles
