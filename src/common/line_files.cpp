#include "common/line_files.h"

#include "common/text.h"
#include "common/windows_1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>
#include <optional>

using namespace Qt::StringLiterals;

namespace livrax {

namespace {

constexpr int Tries = 5;
constexpr int FirstNoticedTry = 4;

LineFileNotice& InstalledNotice() {
    static LineFileNotice notice = [](const QString& message) {
        qWarning("%ls", qUtf16Printable(message));
    };
    return notice;
}

void Notify(const LineFileNotice& notice, const QString& message) {
    if (notice)
        notice(message);
    else if (InstalledNotice())
        InstalledNotice()(message);
}

// Lets pending window messages run, so a window stays responsive between
// tries.
void LetMessagesRun() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

// The file's lines, or nothing when it could not be read.
std::optional<QStringList> ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    QString text = decoder(bytes);
    text.replace(u"\r\n"_s, u"\n"_s);
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast(); // after the last line end
    return lines;
}

} // namespace

void SetLineFileNotice(LineFileNotice notice) {
    InstalledNotice() = std::move(notice);
}

const LineFileNotice& CurrentLineFileNotice() {
    return InstalledNotice();
}

bool ReadLinesFile(const QString& path, QStringList& lines, const LineFileNotice& notice) {
    for (int attempt = 1; attempt <= Tries; ++attempt) {
        LetMessagesRun();
        lines = QStringList(LineFileLines);
        if (IsBlank(path) || path == u"*.*"_s || !QFileInfo::exists(path)) return false;
        if (attempt >= FirstNoticedTry)
            Notify(notice, u"(GBF_READ) - AVISO - Erro na leitura do arquivo: "_s + path +
                               u" Tecle Enter para tentar novamente"_s);
        const std::optional<QStringList> read = ReadAll(path);
        if (!read) continue;
        for (int i = 0; i < LineFileLines && i < read->size(); ++i)
            lines[i] = read->at(i) == u"#"_s ? QString() : read->at(i);
        return true;
    }
    Notify(notice, u"(GBF_READ) - ERRO na tentativa de LER o Arquivo: "_s + path);
    return false;
}

bool WriteLinesFile(const QString& path, QStringList& lines, const LineFileNotice& notice) {
    QString target = path;
    target.replace(u"\\\\"_s, u"\\"_s);
    lines.resize(LineFileLines);
    for (int attempt = 1; attempt <= Tries; ++attempt) {
        LetMessagesRun();
        // A "#" line is empty; an empty line with text below it is kept as "#".
        bool textBelow = false;
        for (int i = LineFileLines - 1; i >= 0; --i) {
            if (lines[i] == u"#"_s) lines[i].clear();
            if (!lines[i].isEmpty())
                textBelow = true;
            else if (textBelow)
                lines[i] = u"#"_s;
        }
        if (!QFileInfo(target).absoluteDir().exists()) {
            Notify(notice, u"Diretório invalido para gravar Parametros ("_s + target + u')');
            return false;
        }
        if (attempt >= FirstNoticedTry)
            Notify(notice, u"(GBF_WRITE) - AVISO - Erro na gravação do arquivo: "_s + target +
                               u" Tecle Enter para tentar novamente"_s);
        QStringList written;
        for (const QString& line : std::as_const(lines))
            if (!line.isEmpty()) written.append(line);
        if (WriteWindowsLinesFile(target, written).isEmpty()) return true;
    }
    Notify(notice, u"(GBF_WRITE) - ERRO na tentativa de GRAVAR o Arquivo: "_s + target);
    return false;
}

QByteArray EncodeWindowsLines(const QStringList& lines) {
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    // One buffer as large as the encoder may need, each line encoded
    // straight into it: a file of tens of thousands of lines is neither
    // copied line by line nor grown as it is written.
    qsizetype room = 0;
    for (const QString& line : lines)
        room += encoder.requiredSpace(line.size()) + 2;
    QByteArray bytes(room, Qt::Uninitialized);
    char* end = bytes.data();
    for (const QString& line : lines) {
        char* const start = end;
        end = encoder.appendToBuffer(end, line);
        // The converter writes SUB (0x1A, the end-of-file mark of DOS text)
        // for a character the code page lacks: such a line is written again
        // with "?" in its place. A text's own SUB characters stay as they are.
        if (std::memchr(start, 0x1A, std::size_t(end - start)) != nullptr &&
            !line.contains(QChar(0x1A)))
            end = encoder.appendToBuffer(start, InWindows1252(line));
        *end++ = '\r';
        *end++ = '\n';
    }
    bytes.truncate(end - bytes.data());
    return bytes;
}

QString WriteWindowsLinesFile(const QString& path, const QStringList& lines) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    const QByteArray bytes = EncodeWindowsLines(lines);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    return {};
}

} // namespace livrax
