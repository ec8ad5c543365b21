#include "print/text_viewer.h"

#include "platform/dialogs.h"
#include "print/output_file.h"
#include "print/print_surface.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace livrax::print {

using namespace Qt::StringLiterals;

TextViewer::TextViewer(const QStringList& lines, const QString& fileName, QWidget* parent)
    : QDialog(parent), m_lines(lines), m_fileName(fileName) {
    setObjectName(u"TF_TEXTVIEW"_s);
    setWindowTitle(QFileInfo(fileName).fileName() + u" - LIVRAX"_s);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* save = new QPushButton(u"Salvar"_s, this);
    save->setObjectName(u"BU_SALVA"_s);
    save->setToolTip(u"Salva o arquivo atual"_s);
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    top->addWidget(save);
    m_fileField = new QLineEdit(fileName, this);
    m_fileField->setObjectName(u"E_ARQUIVO"_s);
    m_fileField->setReadOnly(true);
    top->addWidget(m_fileField, 1);
    auto* leave = new QPushButton(u"Sair"_s, this);
    leave->setObjectName(u"BU_SAIR"_s);
    leave->setToolTip(u"Sair"_s);
    connect(leave, &QPushButton::clicked, this, &QDialog::accept);
    top->addWidget(leave);
    layout->addLayout(top);

    auto* text = new QPlainTextEdit(this);
    text->setObjectName(u"MEMO1"_s);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(u"Courier New"_s);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    text->setFont(font);
    text->setPlainText(lines.join(u'\n'));
    layout->addWidget(text, 1);
    resize(900, 650);
}

bool TextViewer::save() {
    QString name = m_saveFileName;
    if (name.isEmpty()) {
        name = QFileDialog::getSaveFileName(this, u"Salvar"_s, m_fileName,
                                            u"Arq. Txt (*.txt);;Todos arqs. (*)"_s);
        if (name.isEmpty()) return false;
    }
    if (!QFileInfo(name).fileName().contains(u'.')) name += u".TXT"_s;
    try {
        WriteTextFile(name, m_lines);
    } catch (const PrintError& error) {
        platform::ShowError(this, error.message());
        return false;
    }
    m_fileName = name;
    m_fileField->setText(name);
    setWindowTitle(QFileInfo(name).fileName() + u" - LIVRAX"_s);
    return true;
}

} // namespace livrax::print
