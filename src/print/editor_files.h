#pragma once
// The files of the text editor: plain DOS text (Windows-1252, CR LF) or rich
// text (RTF), read and written without widgets.

#include <QString>
#include <QStringList>

class QTextDocument;

namespace livrax::print {

// A name whose file part has no "." gets ".TXT".
QString WithTextExtension(const QString& fileName);

// The document's lines as plain DOS text (the characters Windows-1252 lacks
// as "?"); none for an empty document.
QStringList PlainLines(const QTextDocument& document);

// Reads the file into the document: rich text when it begins with "{\rtf",
// otherwise plain Windows-1252 text whose CR LF or LF end the lines. True
// when the file was rich text. Throws PrintError (with the system's reason)
// when the file cannot be read; the document is then left as it was.
bool ReadEditorFile(const QString& fileName, QTextDocument& document);

// Writes the document as plain DOS text (`plain`) or as rich text, whole or
// not at all: on a failure (PrintError) the old file stays as it was.
void WriteEditorFile(const QString& fileName, const QTextDocument& document, bool plain);

} // namespace livrax::print
