#pragma once
// Rich text files (RTF) for the text editor and the help texts: the writer
// puts down what the editor offers (font family and size, bold, italic,
// underline, colour through the colour table, alignment, the first, left
// and right indents of a paragraph, bulleted and numbered paragraphs, line
// breaks and tabs) as Windows-1252 text with "\'hh" escapes and "\uN?" for
// the characters outside that code page. The reader takes the same back and
// reads files of other programs as far as these attributes go: the font and
// colour tables are parsed, the style sheet, the document information,
// pictures and every "{\*\...}" group are skipped without losing the text
// around them. It accepts any bytes: unbalanced braces, a truncated file or
// garbage never stop it; it keeps what it could read.

#include <QByteArray>

class QTextDocument;

namespace livrax::platform {

// True when the bytes begin as a rich text file does, with "{\rtf".
bool IsRtf(const QByteArray& bytes);

// The document as a rich text file.
QByteArray DocumentToRtf(const QTextDocument& document);

// Replaces the document's text with what the rich text holds.
void RtfToDocument(const QByteArray& rtf, QTextDocument& document);

} // namespace livrax::platform
