#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLineEdit;
class QPrinter;
class QTextEdit;
class QToolButton;

namespace livrax::print {

// The text editor: the text of a report sent to the text destination, or any
// text file, shown for reading and changing, saved as plain DOS text
// (Windows-1252, CR LF: "txt DOS") or as rich text (RTF), printed or mailed.
// Rich text offers font family and size, bold, italic, underline, colour and
// alignment; undo, cut, copy and paste act on the text as usual.
class TF_EDIT : public QDialog {
    Q_OBJECT

  public:
    explicit TF_EDIT(QWidget* parent = nullptr);

    // The text of a report drawn on the text grid: its lines in the
    // fixed-pitch font, "txt DOS" checked, named `fileName`, and the save
    // button enabled, as a text not yet saved where the user wants it.
    void showReport(const QStringList& lines, const QString& fileName);

    // E_ARQUIVO: the file being edited; with the automatic opening on
    // (CB_ABREAUT, the default) the window reads it when it is shown.
    QString fileName() const;
    void setFileName(const QString& fileName);
    // CB_FONTE ("Courrier New"): the text is shown in Courier New.
    void setFixedPitch(bool on);
    // CB_PLANO ("txt DOS"): the next save writes plain text.
    void setPlainSave(bool on);
    // CB_ABREAUT: read the named file when the window is shown.
    void setOpenOnShow(bool on);
    // The filters of the open and save dialogs, as Qt writes them.
    void setOpenFilters(const QStringList& filters);
    QTextEdit* text() const { return m_memo; }

    // BU_SALVA: writes the text to its file (Save As without a name); a name
    // without "." gets ".TXT". False when nothing was written (cancelled, or
    // the error box said why; the text stays as it was).
    bool save();
    // "Salvar Como": the file chosen in the save dialog, after the question
    // when it exists.
    bool saveAs();
    // BU_ABRIR: a file chosen in the open dialog replaces the text.
    void openFile();
    // BU_NOVO: an empty text without name.
    void newText();
    // BU_IMPRIMIR: the print dialog, then the text printed under the file's
    // name.
    void print();
    // The text printed on `printer`, the job named after the file.
    void printOn(QPrinter& printer);
    // BU_EMAIL: the e-mail window with the saved file attached.
    void sendByEmail();

    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void prepareOnShow();
    // Reads a file into the text; false (after the error box) when it
    // could not be read.
    bool readFile(const QString& fileName);
    bool writeTo(const QString& fileName);
    // With unsaved changes, offers to save them; false when the user wants
    // to keep them and they could not be saved.
    bool offerToSave();
    // The closing rules; false when the window stays open.
    bool mayClose();
    // Clears the modified mark (CB_ALT) of the text.
    void clearModified();
    void setRichMode(bool rich);
    void applyBaseFont();
    void applyWrap();
    void updateTitle();
    void rememberFileName();
    QString startFolder() const;

    QTextEdit* m_memo = nullptr;
    QLineEdit* m_file = nullptr;
    QCheckBox* m_fixedPitch = nullptr;
    QCheckBox* m_plain = nullptr;
    QCheckBox* m_wrap = nullptr;
    QCheckBox* m_modified = nullptr;
    QCheckBox* m_openOnShow = nullptr;
    QToolButton* m_save = nullptr;
    QStringList m_filters;
    QString m_chosenFilter; // the filter chosen in the open dialog
    bool m_rich = true;
    bool m_prepared = false;
};

// Registers the editor as window "EDIT", opened with {file name, options}:
// the file is read when the window is shown; the options "CB_FONTE" and
// "CB_PLANO" check those boxes.
void RegisterEditorWindow();

} // namespace livrax::print
