#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QPlainTextEdit;

namespace livrax::print {

// The text of a report drawn on the text grid, shown read-only in a
// fixed-pitch font, with a button that saves it as a text file
// (Windows-1252, CR LF).
class TextViewer : public QDialog {
    Q_OBJECT

  public:
    TextViewer(const QStringList& lines, const QString& fileName, QWidget* parent = nullptr);

    // The file BU_SALVA writes; empty (the default): the user is asked.
    void setSaveFileName(const QString& fileName) { m_saveFileName = fileName; }
    // The file the text was last written to.
    const QString& fileName() const { return m_fileName; }

    // BU_SALVA: writes the lines; a name without "." gets ".TXT". False when
    // nothing was written (no name given, or the file could not be written:
    // the error box has said why).
    bool save();

  private:
    QStringList m_lines;
    QString m_fileName;
    QString m_saveFileName;
    QLineEdit* m_fileField = nullptr;
};

} // namespace livrax::print
