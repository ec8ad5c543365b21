#include "platform/rtf.h"

#include "common/windows_1252.h"

#include <QColor>
#include <QList>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>

#include <map>
#include <string_view>
#include <utility>

namespace livrax::platform {

using namespace Qt::StringLiterals;

namespace {

// ---------------------------------------------------------------- writing

void AppendEscaped(QByteArray& out, QStringView text) {
    static const char Hex[] = "0123456789abcdef";
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        switch (c) {
        case u'\\':
            out += "\\\\";
            continue;
        case u'{':
            out += "\\{";
            continue;
        case u'}':
            out += "\\}";
            continue;
        case u'\t':
            out += "\\tab ";
            continue;
        case 0x2028: // a line break inside the paragraph
            out += "\\line ";
            continue;
        default:
            break;
        }
        if (c >= 0x20 && c < 0x7F) {
            out += char(c);
            continue;
        }
        // Control characters, the placeholder of embedded objects and the
        // document's internal frame marks are not text.
        if (c < 0x20 || c == 0x7F || c == 0xFFFC || c == 0xFDD0 || c == 0xFDD1) continue;
        const int byte = Windows1252Byte(c);
        if (byte >= 0) {
            out += "\\'";
            out += Hex[byte >> 4];
            out += Hex[byte & 15];
            continue;
        }
        // One UTF-16 unit per "\u", as a signed 16-bit number, with "?" for
        // readers that do not know it.
        out += "\\u";
        out += QByteArray::number(int(qint16(c)));
        out += '?';
    }
}

// What a run of text looks like, with what the document's default font
// gives for the attributes the run does not set.
struct Look {
    QString family;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor colour; // invalid: the automatic colour
};

Look LookOf(const QTextCharFormat& format, const QFont& base) {
    Look look;
    if (format.hasProperty(QTextFormat::FontFamilies))
        look.family = format.fontFamilies().toStringList().value(0);
    if (look.family.isEmpty() && format.hasProperty(QTextFormat::FontFamily))
        look.family = format.property(QTextFormat::FontFamily).toString();
    if (look.family.isEmpty()) look.family = base.family();
    double points =
        format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : base.pointSizeF();
    if (points <= 0) points = 12;
    look.halfPoints = qMax(1, qRound(points * 2));
    look.bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::DemiBold
                                                            : base.bold();
    look.italic = format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : base.italic();
    look.underline = format.hasProperty(QTextFormat::TextUnderlineStyle) ||
                             format.hasProperty(QTextFormat::FontUnderline)
                         ? format.fontUnderline()
                         : base.underline();
    if (format.hasProperty(QTextFormat::ForegroundBrush) &&
        format.foreground().style() != Qt::NoBrush)
        look.colour = format.foreground().color();
    return look;
}

// Paragraph indents are kept in the document in pixels of 1/96 inch and in
// the file in twips (1/1440 inch): 15 twips to the pixel.
constexpr double TwipsPerPixel = 15.0;

QByteArray IndentWords(const QTextBlockFormat& format) {
    QByteArray words;
    const auto word = [&words](const char* name, qreal pixels) {
        const int twips = qRound(pixels * TwipsPerPixel);
        if (twips != 0) words += name + QByteArray::number(twips);
    };
    word("\\fi", format.textIndent());
    word("\\li", format.leftMargin());
    word("\\ri", format.rightMargin());
    return words;
}

// A paragraph of a list: the marker older readers show ("\pntext") and the
// kind of list for the others ("\pn": bullets or numbers).
QByteArray ListWords(const QTextBlock& block) {
    const QTextList* list = block.textList();
    if (!list) return {};
    if (list->format().style() == QTextListFormat::ListDecimal)
        return "{\\pntext " + QByteArray::number(list->itemNumber(block) + 1) +
               ".\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1\\pnindent0{\\pntxta .}}";
    return "{\\pntext \\'95\\tab}{\\*\\pn\\pnlvlblt\\pnindent0{\\pntxtb \\'95}}";
}

QByteArray AlignmentWord(Qt::Alignment alignment) {
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter) return "\\qc";
    if (horizontal & Qt::AlignRight) return "\\qr";
    if (horizontal & Qt::AlignJustify) return "\\qj";
    return "\\ql";
}

class RtfWriter {
  public:
    explicit RtfWriter(const QTextDocument& document)
        : m_document(document), m_base(document.defaultFont()) {}

    QByteArray write() {
        // The tables are known once the body has been written.
        fontIndex(m_base.family());
        QByteArray body;
        for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
            if (block != m_document.begin()) body += "\\par\r\n";
            body += "\\pard" + AlignmentWord(block.blockFormat().alignment()) +
                    IndentWords(block.blockFormat()) + ListWords(block);
            // The paragraph mark's own look, which an empty line keeps.
            body += attributes(LookOf(block.charFormat(), m_base)) + ' ';
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (!fragment.isValid()) continue;
                body += '{' + attributes(LookOf(fragment.charFormat(), m_base)) + ' ';
                AppendEscaped(body, fragment.text());
                body += '}';
            }
        }
        QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
        for (int i = 0; i < m_fonts.size(); ++i) {
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
            AppendEscaped(out, m_fonts[i]);
            out += ";}";
        }
        out += "}\r\n";
        if (!m_colours.isEmpty()) {
            out += "{\\colortbl;";
            for (const QColor& colour : std::as_const(m_colours))
                out += "\\red" + QByteArray::number(colour.red()) + "\\green" +
                       QByteArray::number(colour.green()) + "\\blue" +
                       QByteArray::number(colour.blue()) + ';';
            out += "}\r\n";
        }
        out += body;
        out += "\r\n}\r\n";
        return out;
    }

  private:
    int fontIndex(const QString& family) {
        qsizetype index = m_fonts.indexOf(family);
        if (index < 0) {
            m_fonts.append(family);
            index = m_fonts.size() - 1;
        }
        return int(index);
    }

    int colourIndex(const QColor& colour) {
        for (qsizetype i = 0; i < m_colours.size(); ++i)
            if (m_colours[i].rgb() == colour.rgb()) return int(i) + 1;
        m_colours.append(colour);
        return int(m_colours.size());
    }

    QByteArray attributes(const Look& look) {
        QByteArray words = "\\plain\\f" + QByteArray::number(fontIndex(look.family)) + "\\fs" +
                           QByteArray::number(look.halfPoints);
        if (look.bold) words += "\\b";
        if (look.italic) words += "\\i";
        if (look.underline) words += "\\ul";
        if (look.colour.isValid()) words += "\\cf" + QByteArray::number(colourIndex(look.colour));
        return words;
    }

    const QTextDocument& m_document;
    QFont m_base;
    QStringList m_fonts;
    QList<QColor> m_colours;
};

// ---------------------------------------------------------------- reading

enum class Destination { Text, FontTable, ColourTable, Numbering, Skip };

// What a group of the file has in force; a group starts with its parent's.
struct State {
    Destination destination = Destination::Text;
    int font = -1; // -1: the default font (\deff)
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colour = 0; // 0: automatic
    int unicodeSkip = 1;
    Qt::Alignment alignment = Qt::AlignLeft;
    // Paragraph indents in twips, and the kind of list the paragraph is in.
    int firstIndent = 0;
    int leftIndent = 0;
    int rightIndent = 0;
    QTextListFormat::Style list = QTextListFormat::ListStyleUndefined;
};

struct Font {
    QString name;
    int codePage = 0; // 0: the document's
};

// Groups deeper than this share their parent's state: a file of nothing but
// "{" costs no memory, and real files stay far below it.
constexpr int MaxDepth = 200;

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The code page of a font's \fcharset; 0 for the document's own.
int CharsetCodePage(int charset) {
    switch (charset) {
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return 0;
    }
}

QByteArray CodecName(int codePage) {
    switch (codePage) {
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "EUC-KR";
    case 950:
        return "Big5";
    default:
        return "windows-" + QByteArray::number(codePage);
    }
}

// Destinations whose content is not part of the text.
bool IsSkippedDestination(std::string_view word) {
    static constexpr std::string_view Skipped[] = {"stylesheet",
                                                   "pntext",
                                                   "listtext",
                                                   "info",
                                                   "pict",
                                                   "object",
                                                   "header",
                                                   "headerl",
                                                   "headerr",
                                                   "headerf",
                                                   "footer",
                                                   "footerl",
                                                   "footerr",
                                                   "footerf",
                                                   "footnote",
                                                   "fldinst",
                                                   "themedata",
                                                   "colorschememapping",
                                                   "latentstyles",
                                                   "datastore",
                                                   "xmlnstbl",
                                                   "listtable",
                                                   "listoverridetable",
                                                   "rsidtbl",
                                                   "generator",
                                                   "filetbl",
                                                   "revtbl",
                                                   "pgdsctbl",
                                                   "userprops",
                                                   "docvar",
                                                   "template",
                                                   "nonshppict",
                                                   "bkmkstart",
                                                   "bkmkend",
                                                   "private",
                                                   "xe",
                                                   "tc",
                                                   "txe",
                                                   "atnid",
                                                   "atnauthor",
                                                   "annotation",
                                                   "comment",
                                                   "mmathPr"};
    for (const std::string_view skipped : Skipped)
        if (word == skipped) return true;
    return false;
}

class RtfReader {
  public:
    RtfReader(const QByteArray& rtf, QTextDocument& document) : m_data(rtf), m_cursor(&document) {
        m_states.append(State());
    }

    void read() {
        const qsizetype size = m_data.size();
        qsizetype i = 0;
        while (i < size) {
            const char c = m_data[i];
            if (c == '{') {
                flushRun();
                m_skip = 0;
                if (m_states.size() < MaxDepth)
                    m_states.append(m_states.constLast());
                else
                    ++m_overflow;
                ++i;
            } else if (c == '}') {
                flushRun();
                m_skip = 0;
                endGroup();
                ++i;
            } else if (c == '\\') {
                i = control(i + 1);
            } else if (c == '\r' || c == '\n') {
                ++i;
            } else {
                character(uchar(c));
                ++i;
            }
        }
        flushRun();
        // A file cut before its last "}": the paragraph attributes in force.
        if (m_states.size() > 1) finishParagraph();
    }

  private:
    State& state() { return m_states.last(); }

    void endGroup() {
        if (m_overflow > 0) {
            --m_overflow;
            return;
        }
        if (state().destination == Destination::FontTable) finishFont();
        // The document's group ends: its last paragraph takes the
        // paragraph attributes in force at its end, as "\par" would.
        if (m_states.size() == 2 && state().destination == Destination::Text) finishParagraph();
        // A "}" with no group open is left alone.
        if (m_states.size() > 1) m_states.removeLast();
    }

    // Reads a control word or symbol starting after its "\"; the position
    // after it.
    qsizetype control(qsizetype i) {
        const qsizetype size = m_data.size();
        if (i >= size) return i;
        const char c = m_data[i];
        if (IsLetter(c)) {
            const qsizetype start = i;
            while (i < size && IsLetter(m_data[i]))
                ++i;
            const std::string_view word(m_data.constData() + start,
                                        size_t(qMin<qsizetype>(i - start, 32)));
            bool hasParameter = false;
            bool negative = false;
            qint64 parameter = 0;
            if (i < size && m_data[i] == '-' && i + 1 < size && IsDigit(m_data[i + 1])) {
                negative = true;
                ++i;
            }
            while (i < size && IsDigit(m_data[i])) {
                hasParameter = true;
                if (parameter < 100000000000LL) parameter = parameter * 10 + (m_data[i] - '0');
                ++i;
            }
            // A word cut by the end of the data (a truncated file) may be
            // the start of another ("\pa" of "\pard"): it is not used.
            if (i >= size) return size;
            if (negative) parameter = -parameter;
            if (i < size && m_data[i] == ' ') ++i;
            const int value = int(qBound<qint64>(-2147483647LL, parameter, 2147483647LL));
            if (word == "bin") {
                // Binary data of that many bytes, never text.
                return i + qBound(qsizetype(0), qsizetype(value), size - i);
            }
            controlWord(word, hasParameter, value);
            return i;
        }
        if (c == '\'') {
            if (i + 2 >= size) return size; // cut by the end of the data
            const int high = i + 1 < size ? HexValue(m_data[i + 1]) : -1;
            const int low = i + 2 < size ? HexValue(m_data[i + 2]) : -1;
            if (high < 0 || low < 0) return i + 1;
            if (!skipped()) byte(char(high * 16 + low));
            return i + 3;
        }
        symbol(c);
        return i + 1;
    }

    // Whether the character just read is the replacement of a "\u" before.
    bool skipped() {
        if (m_skip <= 0) return false;
        --m_skip;
        return true;
    }

    void symbol(char c) {
        if (c == '*') {
            // A destination this reader may not know: the whole group goes,
            // unless the word after the mark is one it knows ("\pn").
            state().destination = Destination::Skip;
            m_afterStar = true;
            return;
        }
        if (skipped()) return;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            byte(c);
            break;
        case '~':
            text(QChar(0x00A0));
            break;
        case '_':
            text(QChar(0x2011));
            break;
        case '\r':
        case '\n':
            paragraph();
            break;
        case '\t':
            text(u'\t');
            break;
        default:
            break; // "\-" optional hyphens, "\|", "\:" index marks
        }
    }

    void controlWord(std::string_view word, bool hasParameter, int value) {
        State& s = state();
        const bool afterStar = std::exchange(m_afterStar, false);
        if (word == "pn" && (afterStar || s.destination == Destination::Text)) {
            s.destination = Destination::Numbering;
            return;
        }
        if (s.destination == Destination::Numbering) {
            // The kind of list of the paragraph the group belongs to.
            if (m_states.size() < 2) return;
            State& paragraph = m_states[m_states.size() - 2];
            if (word == "pnlvlblt")
                paragraph.list = QTextListFormat::ListDisc;
            else if (word == "pnlvlbody" || word == "pndec")
                paragraph.list = QTextListFormat::ListDecimal;
            return;
        }
        // Table contents.
        if (s.destination == Destination::FontTable) {
            if (word == "f") {
                finishFont();
                m_fontNumber = value;
            } else if (word == "fcharset") {
                m_fonts[m_fontNumber].codePage = CharsetCodePage(value);
            } else if (IsSkippedDestination(word)) {
                s.destination = Destination::Skip;
            }
            return;
        }
        if (s.destination == Destination::ColourTable) {
            const int component = qBound(0, value, 255);
            if (word == "red") {
                m_red = component;
                m_colourGiven = true;
            } else if (word == "green") {
                m_green = component;
                m_colourGiven = true;
            } else if (word == "blue") {
                m_blue = component;
                m_colourGiven = true;
            }
            return;
        }
        if (s.destination == Destination::Skip) return;

        if (word == "u") {
            unicode(value);
            return;
        }
        flushRun();
        if (word == "fonttbl") {
            s.destination = Destination::FontTable;
            m_fontNumber = 0;
            m_fontBytes.clear();
            return;
        }
        if (word == "colortbl") {
            s.destination = Destination::ColourTable;
            m_colours.clear();
            return;
        }
        if (IsSkippedDestination(word)) {
            s.destination = Destination::Skip;
            return;
        }
        if (skipped()) return;

        const bool on = !hasParameter || value != 0;
        if (word == "par" || word == "sect" || word == "page" || word == "row") {
            paragraph();
        } else if (word == "line") {
            text(QChar(0x2028));
        } else if (word == "tab" || word == "cell") {
            text(u'\t');
        } else if (word == "plain") {
            s.font = -1;
            s.halfPoints = 24;
            s.bold = s.italic = s.underline = false;
            s.colour = 0;
        } else if (word == "pard") {
            s.alignment = Qt::AlignLeft;
            s.firstIndent = s.leftIndent = s.rightIndent = 0;
            s.list = QTextListFormat::ListStyleUndefined;
        } else if (word == "fi") {
            s.firstIndent = qBound(-100000, value, 100000);
        } else if (word == "li") {
            s.leftIndent = qBound(-100000, value, 100000);
        } else if (word == "ri") {
            s.rightIndent = qBound(-100000, value, 100000);
        } else if (word == "ql") {
            s.alignment = Qt::AlignLeft;
        } else if (word == "qc") {
            s.alignment = Qt::AlignHCenter;
        } else if (word == "qr") {
            s.alignment = Qt::AlignRight;
        } else if (word == "qj") {
            s.alignment = Qt::AlignJustify;
        } else if (word == "f") {
            s.font = value;
        } else if (word == "fs") {
            if (hasParameter && value > 0) s.halfPoints = qMin(value, 3276);
        } else if (word == "b") {
            s.bold = on;
        } else if (word == "i") {
            s.italic = on;
        } else if (word == "ulnone") {
            s.underline = false;
        } else if (word.size() >= 2 && word.substr(0, 2) == "ul" && word != "ulc") {
            s.underline = on; // \ul and its dotted, double, wave... kinds
        } else if (word == "cf") {
            s.colour = value;
        } else if (word == "uc") {
            s.unicodeSkip = qBound(0, value, 16);
        } else if (word == "deff") {
            m_defaultFont = value;
        } else if (word == "ansicpg") {
            m_codePage = value;
        } else if (word == "emdash") {
            text(QChar(0x2014));
        } else if (word == "endash") {
            text(QChar(0x2013));
        } else if (word == "bullet") {
            text(QChar(0x2022));
        } else if (word == "lquote") {
            text(QChar(0x2018));
        } else if (word == "rquote") {
            text(QChar(0x2019));
        } else if (word == "ldblquote") {
            text(QChar(0x201C));
        } else if (word == "rdblquote") {
            text(QChar(0x201D));
        } else if (word == "emspace") {
            text(QChar(0x2003));
        } else if (word == "enspace") {
            text(QChar(0x2002));
        }
    }

    // "\uN": one UTF-16 unit (N negative above 32767), then the characters
    // that stand for it in older readers are skipped. The two halves of a
    // surrogate pair come as two of them, so no run ends between them.
    void unicode(int value) {
        const int code = value < 0 ? value + 65536 : value;
        if (code >= 0 && code <= 0xFFFF) {
            text(QChar(char16_t(code)));
        } else if (code > 0xFFFF && code <= 0x10FFFF) {
            const char32_t point = char32_t(code);
            text(QChar(QChar::highSurrogate(point)));
            text(QChar(QChar::lowSurrogate(point)));
        }
        m_skip = state().unicodeSkip;
    }

    // A byte of text (raw, or from "\'hh").
    void character(uchar c) {
        if (skipped()) return;
        if (c == '\t') {
            text(u'\t');
            return;
        }
        if (c < 0x20 || c == 0x7F) return;
        byte(char(c));
    }

    void byte(char c) {
        switch (state().destination) {
        case Destination::Text:
            m_bytes += c;
            break;
        case Destination::FontTable:
            if (c == ';')
                finishFont();
            else
                m_fontBytes += c;
            break;
        case Destination::ColourTable:
            if (c == ';') {
                m_colours.append(m_colourGiven ? QColor(m_red, m_green, m_blue) : QColor());
                m_red = m_green = m_blue = 0;
                m_colourGiven = false;
            }
            break;
        case Destination::Numbering:
        case Destination::Skip:
            break;
        }
    }

    void text(QChar c) {
        if (state().destination != Destination::Text) return;
        decodeBytes();
        m_text += c;
    }

    int codePageOf(int font) const {
        const auto found = m_fonts.find(font < 0 ? m_defaultFont : font);
        if (found != m_fonts.end() && found->second.codePage != 0) return found->second.codePage;
        return m_codePage;
    }

    QString decode(const QByteArray& bytes, int codePage) {
        auto found = m_decoders.find(codePage);
        if (found == m_decoders.end()) {
            QStringDecoder decoder(CodecName(codePage), QStringDecoder::Flag::Stateless);
            if (!decoder.isValid())
                decoder = QStringDecoder("windows-1252", QStringDecoder::Flag::Stateless);
            found = m_decoders.emplace(codePage, std::move(decoder)).first;
        }
        return found->second.decode(bytes);
    }

    void decodeBytes() {
        if (m_bytes.isEmpty()) return;
        m_text += decode(m_bytes, codePageOf(state().font));
        m_bytes.clear();
    }

    void finishFont() {
        if (m_fontBytes.isEmpty()) return;
        QString name =
            decode(m_fontBytes, m_fonts[m_fontNumber].codePage != 0 ? m_fonts[m_fontNumber].codePage
                                                                    : m_codePage)
                .trimmed();
        m_fonts[m_fontNumber].name = name;
        m_fontBytes.clear();
    }

    QTextCharFormat format() const {
        const State& s = m_states.constLast();
        QTextCharFormat format;
        const auto found = m_fonts.find(s.font < 0 ? m_defaultFont : s.font);
        if (found != m_fonts.end() && !found->second.name.isEmpty())
            format.setFontFamilies(QStringList{found->second.name});
        format.setFontPointSize(s.halfPoints / 2.0);
        format.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(s.italic);
        format.setFontUnderline(s.underline);
        if (s.colour > 0 && s.colour < m_colours.size() && m_colours[s.colour].isValid())
            format.setForeground(m_colours[s.colour]);
        return format;
    }

    // Puts the text read so far into the document in the look in force.
    void flushRun() {
        decodeBytes();
        if (m_text.isEmpty()) return;
        // Control characters (from escapes) and the document's own marks are
        // no text; half of a surrogate pair alone (a broken file) is no
        // character.
        QString text;
        text.reserve(m_text.size());
        for (qsizetype i = 0; i < m_text.size(); ++i) {
            const QChar c = m_text[i];
            const char16_t u = c.unicode();
            if ((u < 0x20 && u != u'\t') || u == 0x7F || u == 0xFFFC || u == 0xFDD0 || u == 0xFDD1)
                continue;
            if (c.isHighSurrogate() && i + 1 < m_text.size() && m_text[i + 1].isLowSurrogate()) {
                text += c;
                text += m_text[++i];
            } else {
                text += c.isSurrogate() ? QChar(QChar::ReplacementCharacter) : c;
            }
        }
        if (!text.isEmpty()) m_cursor.insertText(text, format());
        m_text.clear();
    }

    void finishParagraph() {
        const State& s = state();
        QTextBlockFormat block = m_cursor.blockFormat();
        block.setAlignment(s.alignment);
        block.setTextIndent(s.firstIndent / TwipsPerPixel);
        block.setLeftMargin(qMax(0, s.leftIndent) / TwipsPerPixel);
        block.setRightMargin(qMax(0, s.rightIndent) / TwipsPerPixel);
        m_cursor.setBlockFormat(block);
        if (s.list == QTextListFormat::ListStyleUndefined) {
            m_list = nullptr;
        } else if (!m_cursor.block().textList()) {
            // Paragraphs of one kind of list in a row make one list.
            if (m_list && m_list->format().style() == s.list)
                m_list->add(m_cursor.block());
            else
                m_list = m_cursor.createList(s.list);
        }
    }

    void paragraph() {
        if (state().destination != Destination::Text) return;
        flushRun();
        finishParagraph();
        m_cursor.insertBlock(QTextBlockFormat(), format());
    }

    const QByteArray& m_data;
    QTextCursor m_cursor;
    QList<State> m_states;
    int m_overflow = 0;
    int m_skip = 0;              // characters still to skip after a "\u"
    bool m_afterStar = false;    // the last control read was "\*"
    QTextList* m_list = nullptr; // the list the last paragraph went into
    int m_codePage = 1252;
    int m_defaultFont = 0;
    std::map<int, Font> m_fonts;
    int m_fontNumber = 0;
    QByteArray m_fontBytes;
    QList<QColor> m_colours{QColor()};
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourGiven = false;
    std::map<int, QStringDecoder> m_decoders;
    QByteArray m_bytes; // text bytes not yet decoded
    QString m_text;     // text not yet in the document
};

} // namespace

bool IsRtf(const QByteArray& bytes) {
    return bytes.startsWith("{\\rtf");
}

QByteArray DocumentToRtf(const QTextDocument& document) {
    return RtfWriter(document).write();
}

void RtfToDocument(const QByteArray& rtf, QTextDocument& document) {
    document.clear();
    RtfReader(rtf, document).read();
}

} // namespace livrax::platform
