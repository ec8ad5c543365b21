#include "print/tf_edit.h"

#include "data/globals.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/registry.h"
#include "platform/text_format_bar.h"
#include "platform/window_registry.h"
#include "print/editor_files.h"
#include "print/print_surface.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace livrax::print {

using namespace Qt::StringLiterals;

namespace {

// The name a report's text gets before the user names it.
const QString ReportFileName = u"NovoArquivo.txt"_s;

// A question box titled `title`; true when the user takes `yes`.
bool Ask(QWidget* parent, const QString& title, const QString& text,
         QMessageBox::StandardButton yes, QMessageBox::StandardButton no) {
    QMessageBox box(QMessageBox::Question, title, text, yes | no, parent);
    box.setObjectName(u"QUESTION_BOX"_s);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    if (yes == QMessageBox::Yes) {
        box.button(QMessageBox::Yes)->setText(u"Sim"_s);
        box.button(QMessageBox::No)->setText(u"Não"_s);
    } else {
        box.button(QMessageBox::Cancel)->setText(u"Cancelar"_s);
    }
    return box.exec() == yes;
}

QFont FixedPitchFont(const QFont& normal) {
    QFont font(u"Courier New"_s);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(normal.pointSizeF() > 0 ? normal.pointSizeF() : 10);
    return font;
}

bool HasFolder(const QString& fileName) {
    return fileName.contains(u'/') || fileName.contains(u'\\');
}

} // namespace

TF_EDIT::TF_EDIT(QWidget* parent) : QDialog(parent) {
    setObjectName(u"TF_EDIT"_s);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    m_filters = {u"Arq. Txt (*.txt *.TXT)"_s, u"Todos arqs. (*)"_s, u"Rich Text (*.RTF *.rtf)"_s};

    auto* layout = new QVBoxLayout(this);
    auto* tools = new QHBoxLayout;
    const auto button = [&](const QString& name, const QString& caption, const QString& hint,
                            auto action) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(caption);
        b->setToolTip(hint);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, action);
        tools->addWidget(b);
        return b;
    };
    button(u"BU_NOVO"_s, u"Novo"_s, u"Novo arquivo"_s, &TF_EDIT::newText);
    button(u"BU_ABRIR"_s, u"Abrir"_s, u"Abre um arquivo"_s, &TF_EDIT::openFile);
    m_save = button(u"BU_SALVA"_s, u"Salvar"_s, u"Salva o arquivo atual"_s, &TF_EDIT::save);
    button(u"BU_SALVACOMO"_s, u"Salvar Como"_s, u"Salva o texto em outro arquivo"_s,
           &TF_EDIT::saveAs);
    button(u"BU_IMPRIMIR"_s, u"Imprimir"_s, u"Imprime o texto"_s, &TF_EDIT::print);
    button(u"BU_EMAIL"_s, u"E-mail"_s, u"Envia E-mail"_s, &TF_EDIT::sendByEmail);
    tools->addSpacing(12);
    m_memo = new QTextEdit(this);
    button(u"BU_DESFAZER"_s, u"Desfazer"_s, u"Desfaz a última alteração"_s,
           [this] { m_memo->undo(); });
    button(u"BU_RECORTAR"_s, u"Recortar"_s, u"Recorta o texto marcado"_s,
           [this] { m_memo->cut(); });
    button(u"BU_COPIAR"_s, u"Copiar"_s, u"Copia o texto marcado"_s, [this] { m_memo->copy(); });
    button(u"BU_COLAR"_s, u"Colar"_s, u"Cola o texto copiado"_s, [this] { m_memo->paste(); });
    tools->addStretch(1);
    button(u"BU_SAIR"_s, u"Sair"_s, u"Sair"_s, &TF_EDIT::reject);
    layout->addLayout(tools);

    layout->addWidget(
        new platform::TextFormatBar(m_memo, platform::TextFormatBar::Extra::None, this));

    auto* options = new QHBoxLayout;
    m_file = new QLineEdit(this);
    m_file->setObjectName(u"E_ARQUIVO"_s);
    connect(m_file, &QLineEdit::textChanged, this, &TF_EDIT::updateTitle);
    options->addWidget(m_file, 1);
    const auto box = [&](const QString& name, const QString& caption) {
        auto* check = new QCheckBox(caption, this);
        check->setObjectName(name);
        options->addWidget(check);
        return check;
    };
    m_fixedPitch = box(u"CB_FONTE"_s, u"Courrier New"_s);
    m_plain = box(u"CB_PLANO"_s, u"txt DOS"_s);
    m_wrap = box(u"CB_WRAP"_s, u"Wrap"_s);
    m_modified = box(u"CB_ALT"_s, u"Alt"_s);
    // The mark follows the text; the user does not set it.
    m_modified->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_modified->setFocusPolicy(Qt::NoFocus);
    m_openOnShow = box(u"CB_ABREAUT"_s, QString());
    m_openOnShow->setChecked(true);
    m_openOnShow->hide();
    layout->addLayout(options);

    m_memo->setObjectName(u"MEMO1"_s);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(m_memo, 1);

    connect(m_fixedPitch, &QCheckBox::toggled, this, &TF_EDIT::applyBaseFont);
    connect(m_wrap, &QCheckBox::toggled, this, &TF_EDIT::applyWrap);
    connect(m_memo, &QTextEdit::textChanged, this, [this] { m_save->setEnabled(true); });
    connect(m_memo->document(), &QTextDocument::modificationChanged, m_modified,
            &QCheckBox::setChecked);

    m_save->setEnabled(false);
    setRichMode(true);
    applyWrap();
    updateTitle();
    resize(900, 650);
}

void TF_EDIT::showReport(const QStringList& lines, const QString& fileName) {
    m_fixedPitch->setChecked(true);
    m_plain->setChecked(true);
    m_file->setText(fileName);
    m_memo->setPlainText(lines.join(u'\n'));
    m_save->setEnabled(true);
}

QString TF_EDIT::fileName() const {
    return m_file->text();
}

void TF_EDIT::setFileName(const QString& fileName) {
    m_file->setText(fileName);
}

void TF_EDIT::setFixedPitch(bool on) {
    m_fixedPitch->setChecked(on);
}

void TF_EDIT::setPlainSave(bool on) {
    m_plain->setChecked(on);
}

void TF_EDIT::setOpenOnShow(bool on) {
    m_openOnShow->setChecked(on);
}

void TF_EDIT::setOpenFilters(const QStringList& filters) {
    m_filters = filters;
    m_chosenFilter.clear();
}

void TF_EDIT::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_prepared) return;
    m_prepared = true;
    prepareOnShow();
}

void TF_EDIT::prepareOnShow() {
    if (m_openOnShow->isChecked()) {
        if (m_file->text() == u"___"_s) m_file->clear();
        const QString name = m_file->text();
        if (!name.isEmpty() && QFileInfo(name).fileName() != ReportFileName &&
            QFileInfo(name).isFile() && readFile(name) && m_chosenFilter.isEmpty()) {
            const QString suffix = QFileInfo(name).suffix();
            if (!suffix.isEmpty()) {
                m_chosenFilter = u"Arquivos (*."_s + suffix + u')';
                m_filters.append(m_chosenFilter);
            }
        }
    }
    clearModified();
    if (m_file->text().isEmpty())
        m_file->setText(platform::ReadProgramSetting(u"EDIT"_s, u"ARQUIVO"_s));
    rememberFileName();
}

bool TF_EDIT::readFile(const QString& fileName) {
    QTextDocument* document = m_memo->document();
    document->setUndoRedoEnabled(false);
    bool rich = false;
    try {
        rich = ReadEditorFile(fileName, *document);
    } catch (const PrintError& error) {
        document->setUndoRedoEnabled(true);
        platform::ShowError(this, error.message());
        return false;
    }
    document->setUndoRedoEnabled(true);
    if (!rich) m_plain->setChecked(true);
    setRichMode(rich);
    applyBaseFont();
    // The text is what the file holds: nothing to save yet.
    clearModified();
    m_save->setEnabled(false);
    return true;
}

bool TF_EDIT::save() {
    const QString name = m_file->text().trimmed();
    if (name.isEmpty()) return saveAs();
    return writeTo(WithTextExtension(name));
}

bool TF_EDIT::saveAs() {
    QString start = m_file->text().trimmed();
    if (!HasFolder(start)) {
        QString temp = data::Globals().registry.dirTemp;
        if (temp.isEmpty()) temp = platform::DefaultTempFolder();
        start = QDir(temp).filePath(start);
    }
    QFileDialog dialog(this, u"Salvar Como"_s, start);
    dialog.setObjectName(u"SaveDialog1"_s);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The question below is the only one asked about an existing file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(m_filters);
    if (!m_chosenFilter.isEmpty()) dialog.selectNameFilter(m_chosenFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    // The name the file will really have is the one checked: "relatorio"
    // typed over an existing "relatorio.TXT" is asked about too.
    const QString chosen = WithTextExtension(dialog.selectedFiles().constFirst());
    if (QFileInfo::exists(chosen) &&
        !Ask(this, u"Novo Arquivo"_s,
             u"O Nome de arquivo informado já existe.   Gravar em cima ?"_s, QMessageBox::Ok,
             QMessageBox::Cancel))
        return false;
    return writeTo(chosen);
}

bool TF_EDIT::writeTo(const QString& fileName) {
    try {
        WriteEditorFile(fileName, *m_memo->document(), m_plain->isChecked());
    } catch (const PrintError& error) {
        // Nothing was replaced; the text and its marks stay for another try.
        platform::ShowError(this, error.message());
        return false;
    }
    m_file->setText(fileName);
    clearModified();
    m_save->setEnabled(false);
    setRichMode(true);
    m_plain->setChecked(false);
    return true;
}

bool TF_EDIT::offerToSave() {
    if (!m_save->isEnabled() || m_memo->document()->isEmpty()) return true;
    if (!Ask(this, u"Salvar Registro"_s,
             u"O registro atual ainda não foi Salvo.   Salvar agora ?"_s, QMessageBox::Yes,
             QMessageBox::No))
        return true;
    return save();
}

void TF_EDIT::openFile() {
    // The chosen file's text gets the default font afresh (readFile); a
    // cancelled dialog leaves the text as it was.
    if (m_memo->document()->isEmpty()) m_save->setEnabled(false);
    // Unsaved changes are offered for saving whether the text has a name or
    // not: opening another file would lose them.
    if (!offerToSave()) return;
    const QString current = m_file->text().trimmed();
    QFileDialog dialog(this, u"Abrir"_s);
    dialog.setObjectName(u"OpenDialog1"_s);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(m_filters);
    if (!m_chosenFilter.isEmpty()) dialog.selectNameFilter(m_chosenFilter);
    dialog.setDirectory(current.isEmpty() || !HasFolder(current) ? startFolder()
                                                                 : QFileInfo(current).path());
    if (!current.isEmpty()) dialog.selectFile(QFileInfo(current).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    m_chosenFilter = dialog.selectedNameFilter();
    const QString chosen = dialog.selectedFiles().constFirst();
    if (!readFile(chosen)) return;
    m_file->setText(chosen);
}

void TF_EDIT::newText() {
    if (!offerToSave()) return;
    m_file->clear();
    m_memo->clear();
    clearModified();
    m_plain->setChecked(false);
    setRichMode(true);
    m_save->setEnabled(false);
}

void TF_EDIT::print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(u"PrintDialog1"_s);
    if (dialog.exec() != QDialog::Accepted) return;
    printOn(printer);
}

void TF_EDIT::printOn(QPrinter& printer) {
    printer.setDocName(m_file->text());
    m_memo->document()->print(&printer);
    if (printer.printerState() == QPrinter::Error)
        platform::ShowError(this, u"Não foi possível imprimir o texto."_s);
}

void TF_EDIT::sendByEmail() {
    if (m_save->isEnabled()) {
        platform::ShowMessage(this, u"O arquivo deve estar salvo"_s);
        return;
    }
    const QString name = m_file->text().trimmed();
    if (name.isEmpty()) {
        platform::ShowMessage(this, u"O arquivo deve estar salvo e deve ter um nome"_s);
        return;
    }
    const QString recipient =
        platform::ReadRegistryText(0, platform::PublicKeyPath(), u"GB_EMAIL"_s);
    // The e-mail window takes {recipient, attachment...}.
    if (!platform::OpenWindow(u"EMAIL"_s, this, {recipient, name}))
        platform::ShowMessage(this, u"Envio por e-mail ainda não disponível."_s);
}

void TF_EDIT::reject() {
    if (mayClose()) QDialog::reject();
}

void TF_EDIT::closeEvent(QCloseEvent* event) {
    // Every way out (Sair, Esc, the window's close button) asks the same.
    event->ignore();
    reject();
}

bool TF_EDIT::mayClose() {
    if (!m_memo->document()->isModified() && m_file->text().trimmed().isEmpty() &&
        m_memo->document()->isEmpty())
        return true;
    if (m_save->isEnabled() && m_save->isVisible() &&
        Ask(this, u"O Registro atual não foi Salvo"_s, u"SALVAR o registro atual?"_s,
            QMessageBox::Yes, QMessageBox::No)) {
        // Saved (or not, when the user cancelled or the save failed): the
        // window stays for the user to look at the result.
        save();
        return false;
    }
    rememberFileName();
    return true;
}

void TF_EDIT::clearModified() {
    m_memo->document()->setModified(false);
    // Set here too: the document does not always announce the change (a
    // text read with its undo history off).
    m_modified->setChecked(false);
}

void TF_EDIT::setRichMode(bool rich) {
    m_rich = rich;
    m_memo->setAcceptRichText(rich);
    applyWrap();
}

void TF_EDIT::applyBaseFont() {
    m_memo->document()->setDefaultFont(m_fixedPitch->isChecked() ? FixedPitchFont(m_memo->font())
                                                                 : m_memo->font());
}

void TF_EDIT::applyWrap() {
    const bool wrap = m_wrap->isChecked();
    m_memo->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    // A plain text wrapped at the window needs no horizontal bar.
    m_memo->setHorizontalScrollBarPolicy(wrap && !m_rich ? Qt::ScrollBarAlwaysOff
                                                         : Qt::ScrollBarAsNeeded);
}

void TF_EDIT::updateTitle() {
    const QString name = QFileInfo(m_file->text().trimmed()).fileName();
    setWindowTitle(u"%1 - %2 - %3"_s.arg(name.isEmpty() ? u"Untitled"_s : name,
                                         u"VORTANE Informática"_s, u"LIVRAX"_s));
}

void TF_EDIT::rememberFileName() {
    platform::WriteProgramSetting(u"EDIT"_s, u"ARQUIVO"_s, m_file->text());
}

QString TF_EDIT::startFolder() const {
    return QCoreApplication::applicationDirPath();
}

void RegisterEditorWindow() {
    platform::RegisterWindow(u"EDIT"_s, [](QWidget* parent, const QStringList& arguments) {
        TF_EDIT window(parent);
        window.setFileName(arguments.value(0));
        window.setFixedPitch(arguments.contains(u"CB_FONTE"_s));
        window.setPlainSave(arguments.contains(u"CB_PLANO"_s));
        window.exec();
    });
}

} // namespace livrax::print
