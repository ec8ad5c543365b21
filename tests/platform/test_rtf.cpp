// Rich text files: what the editor writes comes back with its attributes and
// characters; files of other programs are read as far as those attributes
// go, skipping what is not text; any bytes at all are read without a crash,
// keeping the text that was there.

#include "platform/rtf.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>

using namespace livrax::platform;
using namespace Qt::StringLiterals;

namespace {

// The document's paragraphs, line breaks kept as U+2028.
QStringList Paragraphs(const QTextDocument& document) {
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        paragraphs << block.text();
    return paragraphs;
}

QString AllText(const QTextDocument& document) {
    return Paragraphs(document).join(u'\n');
}

// The format of the first character of `text` in the document.
QTextCharFormat FormatOf(const QTextDocument& document, const QString& text) {
    const QTextCursor found = document.find(text);
    if (found.isNull()) return {};
    QTextCursor at(const_cast<QTextDocument*>(&document));
    at.setPosition(found.selectionStart() + 1);
    return at.charFormat();
}

QString Family(const QTextCharFormat& format) {
    return format.fontFamilies().toStringList().value(0);
}

// A letter from another program: font and colour tables, a style sheet, the
// document information, a picture, a field and groups marked "\*", around
// text in a few looks.
const QByteArray Letter =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1046\r\n"
    "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial{\\*\\panose 020b0604020202020204};}"
    "{\\f1\\fmodern\\fcharset0 Courier New;}}\r\n"
    "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
    "{\\stylesheet{\\s0\\snext0 Normal estilo;}{\\s1\\b Titulo estilo;}}\r\n"
    "{\\info{\\title Titulo escondido}{\\author Autor escondido}}\r\n"
    "{\\*\\generator Gerador 1.0;}\\viewkind4\\uc1\r\n"
    "\\pard\\qc\\f0\\fs32\\b Relat\\'f3rio\\b0\\par\r\n"
    "\\pard\\f1\\fs20 Linha {\\cf1 vermelha} e {\\cf2\\ul azul}"
    "{\\*\\marca texto marcado} fim.\\line segunda\\par\r\n"
    "{\\pict\\wmetafile8\\picw100 0102030405ff}depois da figura "
    "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt campo}}\\par\r\n"
    "}\r\n";

} // namespace

class TestRtf : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void paragraphsKeepTheirAlignment();
    void paragraphLayout_data();
    void paragraphLayout();
    void readsEscapesAndSkipsUnknownGroups_data();
    void readsEscapesAndSkipsUnknownGroups();
    void writerEscapes_data();
    void writerEscapes();
    void readsALetterOfAnotherProgram();
    void everyTruncationKeepsTheTextBeforeIt();
    void damagedInput_data();
    void damagedInput();
    void randomBytes();
};

void TestRtf::roundTrip_data() {
    QTest::addColumn<QTextFormat>("look");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("text");

    const auto format = [](const std::function<void(QTextCharFormat&)>& set) {
        QTextCharFormat look;
        set(look);
        return QTextFormat(look);
    };
    const QTextFormat plain = QTextCharFormat();
    QTest::newRow("bold") << format([](auto& f) { f.setFontWeight(QFont::Bold); })
                          << int(Qt::AlignLeft) << u"negrito"_s;
    QTest::newRow("italic") << format([](auto& f) { f.setFontItalic(true); }) << int(Qt::AlignLeft)
                            << u"itálico"_s;
    QTest::newRow("underline") << format([](auto& f) { f.setFontUnderline(true); })
                               << int(Qt::AlignLeft) << u"sublinhado"_s;
    QTest::newRow("size 18") << format([](auto& f) { f.setFontPointSize(18); })
                             << int(Qt::AlignLeft) << u"grande"_s;
    QTest::newRow("size 9.5") << format([](auto& f) { f.setFontPointSize(9.5); })
                              << int(Qt::AlignLeft) << u"meio ponto"_s;
    QTest::newRow("family") << format([](auto& f) { f.setFontFamilies({u"Courier New"_s}); })
                            << int(Qt::AlignLeft) << u"fixo"_s;
    QTest::newRow("red") << format([](auto& f) { f.setForeground(QColor(255, 0, 0)); })
                         << int(Qt::AlignLeft) << u"vermelho"_s;
    QTest::newRow("blue bold italic") << format([](auto& f) {
        f.setForeground(QColor(0, 0, 255));
        f.setFontWeight(QFont::Bold);
        f.setFontItalic(true);
    }) << int(Qt::AlignLeft) << u"azul"_s;
    QTest::newRow("centred") << plain << int(Qt::AlignHCenter) << u"centro"_s;
    QTest::newRow("right") << plain << int(Qt::AlignRight) << u"direita"_s;
    QTest::newRow("justified") << plain << int(Qt::AlignJustify) << u"justificado"_s;
    QTest::newRow("accents") << plain << int(Qt::AlignLeft) << u"ação é ç ã Ç Ã É ü"_s;
    QTest::newRow("euro, in Windows-1252") << plain << int(Qt::AlignLeft) << u"€ 10,00 – “ok”"_s;
    QTest::newRow("arrow, outside it") << plain << int(Qt::AlignLeft) << u"a → b ≠ c"_s;
    QTest::newRow("outside the 16 bits") << plain << int(Qt::AlignLeft) << u"x 😀 y"_s;
    QTest::newRow("rtf's own characters") << plain << int(Qt::AlignLeft) << u"{a} \\b0 \\'e7"_s;
    QTest::newRow("tab and line break")
        << plain << int(Qt::AlignLeft) << u"col1\tcol2"_s + QChar(0x2028) + u"linha 2"_s;
}

void TestRtf::roundTrip() {
    QFETCH(QTextFormat, look);
    QFETCH(int, alignment);
    QFETCH(QString, text);
    QTextDocument document;
    document.setDefaultFont(QFont(u"Arial"_s, 10));
    QTextCursor cursor(&document);
    QTextBlockFormat block;
    block.setAlignment(Qt::Alignment(alignment));
    cursor.setBlockFormat(block);
    cursor.insertText(u"antes "_s);
    cursor.insertText(text, look.toCharFormat());
    cursor.insertText(u" depois"_s, QTextCharFormat());

    const QByteArray rtf = DocumentToRtf(document);
    QVERIFY(IsRtf(rtf));
    // Only seven-bit bytes: the characters travel as escapes.
    for (const char c : rtf)
        QVERIFY2(uchar(c) < 0x80, rtf.constData());
    QTextDocument read;
    RtfToDocument(rtf, read);

    QCOMPARE(AllText(read), u"antes "_s + text + u" depois"_s);
    QCOMPARE(int(read.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask), alignment);
    const QTextCharFormat written = look.toCharFormat();
    const QTextCharFormat got = FormatOf(read, text);
    QCOMPARE(Family(got),
             written.hasProperty(QTextFormat::FontFamilies) ? Family(written) : u"Arial"_s);
    QCOMPARE(got.fontPointSize(),
             written.hasProperty(QTextFormat::FontPointSize) ? written.fontPointSize() : 10.0);
    QCOMPARE(got.fontWeight() >= QFont::Bold, written.fontWeight() >= QFont::Bold);
    QCOMPARE(got.fontItalic(), written.fontItalic());
    QCOMPARE(got.fontUnderline(), written.fontUnderline());
    const bool coloured = written.hasProperty(QTextFormat::ForegroundBrush);
    QCOMPARE(got.hasProperty(QTextFormat::ForegroundBrush), coloured);
    if (coloured) QCOMPARE(got.foreground().color(), written.foreground().color());
    // The text around keeps the document's look.
    const QTextCharFormat after = FormatOf(read, u"depois"_s);
    QCOMPARE(after.fontWeight(), int(QFont::Normal));
    QVERIFY(!after.fontItalic());
    QVERIFY(!after.hasProperty(QTextFormat::ForegroundBrush));
}

void TestRtf::paragraphsKeepTheirAlignment() {
    QTextDocument document;
    QTextCursor cursor(&document);
    const QList<Qt::Alignment> alignments{Qt::AlignHCenter, Qt::AlignLeft, Qt::AlignRight,
                                          Qt::AlignLeft};
    const QStringList texts{u"Título"_s, QString(), u"à direita"_s, u"fim"_s};
    for (int i = 0; i < texts.size(); ++i) {
        if (i > 0) cursor.insertBlock();
        QTextBlockFormat block;
        block.setAlignment(alignments[i]);
        cursor.setBlockFormat(block);
        cursor.insertText(texts[i]);
    }
    QTextDocument read;
    RtfToDocument(DocumentToRtf(document), read);
    QCOMPARE(Paragraphs(read), texts);
    int i = 0;
    for (QTextBlock block = read.begin(); block.isValid(); block = block.next(), ++i)
        QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, alignments[i]);
}

void TestRtf::paragraphLayout_data() {
    // Indents in pixels (written as twips, 15 to the pixel) and the kind of
    // list of the middle one of three paragraphs; the first and last stay
    // plain.
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right");
    QTest::addColumn<int>("list");
    const int none = QTextListFormat::ListStyleUndefined;
    QTest::newRow("plain") << 0.0 << 0.0 << 0.0 << none;
    QTest::newRow("left indent") << 0.0 << 48.0 << 0.0 << none;
    QTest::newRow("hanging first line") << -24.0 << 48.0 << 0.0 << none;
    QTest::newRow("first line in, right indent") << 30.0 << 0.0 << 96.0 << none;
    QTest::newRow("bullet") << 0.0 << 0.0 << 0.0 << int(QTextListFormat::ListDisc);
    QTest::newRow("bullet with indent") << 0.0 << 20.0 << 0.0 << int(QTextListFormat::ListDisc);
    QTest::newRow("numbered") << 0.0 << 0.0 << 0.0 << int(QTextListFormat::ListDecimal);
}

void TestRtf::paragraphLayout() {
    QFETCH(double, first);
    QFETCH(double, left);
    QFETCH(double, right);
    QFETCH(int, list);
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(u"antes"_s);
    QTextBlockFormat block;
    block.setTextIndent(first);
    block.setLeftMargin(left);
    block.setRightMargin(right);
    cursor.insertBlock(block);
    cursor.insertText(u"item um"_s);
    if (list != QTextListFormat::ListStyleUndefined) {
        cursor.createList(QTextListFormat::Style(list));
        cursor.insertBlock();
        cursor.insertText(u"item dois"_s);
    }
    cursor.insertBlock(QTextBlockFormat());
    if (cursor.currentList()) cursor.currentList()->remove(cursor.block());
    cursor.insertText(u"depois"_s);

    QTextDocument read;
    RtfToDocument(DocumentToRtf(document), read);
    QCOMPARE(Paragraphs(read), Paragraphs(document));
    QTextBlock got = read.begin().next();
    QCOMPARE(got.blockFormat().textIndent(), first);
    QCOMPARE(got.blockFormat().leftMargin(), left);
    QCOMPARE(got.blockFormat().rightMargin(), right);
    if (list == QTextListFormat::ListStyleUndefined) {
        QVERIFY(!got.textList());
    } else {
        // Both items in one list of that kind.
        QVERIFY(got.textList());
        QCOMPARE(int(got.textList()->format().style()), list);
        QCOMPARE(got.next().textList(), got.textList());
        QCOMPARE(got.textList()->count(), 2);
    }
    QVERIFY(!read.begin().textList());
    QVERIFY(!read.lastBlock().textList());
    QCOMPARE(read.lastBlock().blockFormat().leftMargin(), 0.0);
}

void TestRtf::readsEscapesAndSkipsUnknownGroups_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("Windows-1252 escapes")
        << QByteArray("{\\rtf1\\ansi a\\'e7\\'e3o \\'80 \\'93x\\'94}") << u"ação € “x”"_s;
    QTest::newRow("raw Windows-1252 bytes") << QByteArray("{\\rtf1\\ansi p\xe9 \xe7}") << u"pé ç"_s;
    QTest::newRow("\\u with its replacement skipped")
        << QByteArray("{\\rtf1 a\\u231?b \\u8594?c}") << u"açb →c"_s;
    QTest::newRow("\\u negative, above 32767") << QByteArray("{\\rtf1 \\u-1279?}") << u"\uFB01"_s;
    QTest::newRow("\\uc2: two replacement characters")
        << QByteArray("{\\rtf1\\uc2 x\\u8364 EUy}") << u"x€y"_s;
    QTest::newRow("\\uc0: no replacement") << QByteArray("{\\rtf1\\uc0 x\\u231 y}") << u"xçy"_s;
    QTest::newRow("replacement given as an escape")
        << QByteArray("{\\rtf1 x\\u227\\'e3y}") << u"xãy"_s;
    QTest::newRow("another code page for the document")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'e0\\'e1}") << u"аб"_s;
    QTest::newRow("unknown group marked \\*")
        << QByteArray("{\\rtf1 antes {\\*\\desconhecido texto {\\b oculto}} depois}")
        << u"antes  depois"_s;
    QTest::newRow("unknown word outside a marked group keeps its text")
        << QByteArray("{\\rtf1 antes {\\palavranova mantido} depois}") << u"antes mantido depois"_s;
    QTest::newRow("bullet marker of older readers skipped")
        << QByteArray("{\\rtf1 {\\pntext \\'95\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb \\'95}}item}")
        << u"item"_s;
}

void TestRtf::readsEscapesAndSkipsUnknownGroups() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QTextDocument read;
    RtfToDocument(rtf, read);
    QCOMPARE(AllText(read), text);
}

void TestRtf::writerEscapes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("escaped");
    QTest::newRow("ç") << u"ç"_s << QByteArray("\\'e7");
    QTest::newRow("ã") << u"ã"_s << QByteArray("\\'e3");
    QTest::newRow("€ is 0x80 in Windows-1252") << u"€"_s << QByteArray("\\'80");
    QTest::newRow("→ as a Unicode escape") << u"→"_s << QByteArray("\\u8594?");
    QTest::newRow("above 32767, negative") << u"\uFB01"_s << QByteArray("\\u-1279?");
    QTest::newRow("brace") << u"{"_s << QByteArray("\\{");
    QTest::newRow("backslash") << u"\\"_s << QByteArray("\\\\");
}

void TestRtf::writerEscapes() {
    QFETCH(QString, text);
    QFETCH(QByteArray, escaped);
    QTextDocument document;
    document.setPlainText(u"<"_s + text + u">"_s);
    const QByteArray rtf = DocumentToRtf(document);
    QVERIFY2(rtf.contains('<' + escaped + '>'), rtf.constData());
}

void TestRtf::readsALetterOfAnotherProgram() {
    QTextDocument read;
    RtfToDocument(Letter, read);
    QCOMPARE(
        Paragraphs(read),
        (QStringList{u"Relatório"_s, u"Linha vermelha e azul fim."_s + QChar(0x2028) + u"segunda"_s,
                     u"depois da figura campo"_s, QString()}));
    QCOMPARE(read.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(read.begin().next().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignLeft);
    const QTextCharFormat title = FormatOf(read, u"Relatório"_s);
    QCOMPARE(Family(title), u"Arial"_s);
    QCOMPARE(title.fontPointSize(), 16.0);
    QCOMPARE(title.fontWeight(), int(QFont::Bold));
    const QTextCharFormat line = FormatOf(read, u"Linha"_s);
    QCOMPARE(Family(line), u"Courier New"_s);
    QCOMPARE(line.fontPointSize(), 10.0);
    QCOMPARE(line.fontWeight(), int(QFont::Normal));
    QVERIFY(!line.hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(FormatOf(read, u"vermelha"_s).foreground().color(), QColor(255, 0, 0));
    const QTextCharFormat blue = FormatOf(read, u"azul"_s);
    QCOMPARE(blue.foreground().color(), QColor(0, 0, 255));
    QVERIFY(blue.fontUnderline());
    QVERIFY(!FormatOf(read, u"fim"_s).fontUnderline());
}

void TestRtf::everyTruncationKeepsTheTextBeforeIt() {
    QTextDocument whole;
    RtfToDocument(Letter, whole);
    const QString full = AllText(whole);
    const qsizetype firstText = Letter.indexOf("Relat");
    for (qsizetype length = 0; length <= Letter.size(); ++length) {
        QTextDocument read;
        RtfToDocument(Letter.left(length), read);
        const QString text = AllText(read);
        QVERIFY2(full.startsWith(text), qPrintable(u"%1: %2"_s.arg(length).arg(text)));
        if (length > firstText) QVERIFY2(!text.isEmpty(), qPrintable(QString::number(length)));
    }
}

void TestRtf::damagedInput_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("closing braces without group")
        << QByteArray("}}}{\\rtf1 abc}}}} def") << u"abc def"_s;
    QTest::newRow("groups never closed")
        << QByteArray("{\\rtf1{\\b negrito{\\i ambos") << u"negritoambos"_s;
    QTest::newRow("deep nesting") << QByteArray(100000, '{') + "fundo" + QByteArray(100000, '}') +
                                         " fim"
                                  << u"fundo fim"_s;
    QTest::newRow("binary data longer than the file")
        << QByteArray("{\\rtf1 antes\\bin999999999999 xyz}") << u"antes"_s;
    QTest::newRow("escape cut at the end") << QByteArray("{\\rtf1 abc\\'") << u"abc"_s;
    QTest::newRow("escape cut after one digit") << QByteArray("{\\rtf1 abc\\'e") << u"abc"_s;
    QTest::newRow("word cut at the end") << QByteArray("{\\rtf1 abc\\pa") << u"abc"_s;
    QTest::newRow("escape with no hex digits") << QByteArray("{\\rtf1 a\\'zzb}") << u"azzb"_s;
    QTest::newRow("backslash at the end") << QByteArray("{\\rtf1 abc\\") << u"abc"_s;
    QTest::newRow("unicode out of range")
        << QByteArray("{\\rtf1 a\\u99999999999 ?b\\fs-5 c\\fs999999999 d}") << u"abcd"_s;
    QTest::newRow("half a surrogate pair") << QByteArray("{\\rtf1 x\\u-10179?y}") << u"x\uFFFDy"_s;
    QTest::newRow("control bytes and NUL") << QByteArray("{\\rtf1 a\x01\x00\x1f\x7f"
                                                         "b}",
                                                         14)
                                           << u"ab"_s;
    QTest::newRow("colour and font numbers not in the tables")
        << QByteArray("{\\rtf1{\\colortbl;\\red1;}\\cf99\\f42 texto\\cf-3\\f-1  mais}")
        << u"texto mais"_s;
    QTest::newRow("font table never closed")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial") << QString();
    QTest::newRow("not rtf at all")
        << QByteArray("texto simples\r\nsegunda") << u"texto simplessegunda"_s;
}

void TestRtf::damagedInput() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QTextDocument read;
    RtfToDocument(bytes, read);
    QCOMPARE(AllText(read), text);
}

void TestRtf::randomBytes() {
    // Bytes drawn from what RTF is made of, so that the reader walks deep
    // into its control words, escapes and groups, with a fixed seed.
    QRandomGenerator random(20260309);
    static const char Pieces[][12] = {"{",     "}",    "\\",    "\\'",  "\\u",       "\\b",
                                      "\\bin", "\\*",  "\\par", "-",    "9",         "e7",
                                      "texto", ";",    "\\f",   "\\cf", "\\fonttbl", "\\colortbl",
                                      "\\red", "\\uc", "\xff",  " "};
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = round % 2 ? QByteArray("{\\rtf1 ") : QByteArray();
        const int pieces = int(random.bounded(400));
        for (int i = 0; i < pieces; ++i) {
            if (random.bounded(4) == 0)
                bytes += char(random.bounded(256));
            else
                bytes += Pieces[random.bounded(int(std::size(Pieces)))];
        }
        QTextDocument read;
        RtfToDocument(bytes, read);
        // What was read is a document like any other: it can be written and
        // read again to the same text.
        QTextDocument again;
        RtfToDocument(DocumentToRtf(read), again);
        QCOMPARE(AllText(again), AllText(read));
    }
}

QTEST_MAIN(TestRtf)
#include "test_rtf.moc"
