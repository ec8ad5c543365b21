#include "registers/tf_cae.h"

#include "registers/tf_cpc.h"
#include "registers/tf_epp.h"

#include "data/company_header.h"
#include "data/globals.h"
#include "data/queries.h"
#include "platform/dialogs.h"
#include "platform/masked_edit.h"
#include "platform/window_registry.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace livrax::registers {

using namespace Qt::StringLiterals;

namespace {

const QString SaveHint = u"SALVA O REGISTRO ATUAL"_s;

QString TabCaption(RegisterTab tab) {
    switch (tab) {
    case RegisterTab::Company:
        return u"Cadastro"_s;
    case RegisterTab::Parameters:
        return u"Parâmetros"_s;
    case RegisterTab::Medicines:
        return u"Distr.Medicamentos"_s;
    case RegisterTab::Pharmacist:
        return u"Responsável técnico"_s;
    case RegisterTab::Computing:
        return u"Informática"_s;
    }
    return {};
}

QButtonGroup* RadioGroup(const QString& name, const QString& caption, const QStringList& items,
                         QFormLayout* form) {
    auto* box = new QGroupBox(caption);
    box->setObjectName(name);
    auto* column = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items.at(i), box);
        group->addButton(radio, i);
        column->addWidget(radio);
    }
    form->addRow(box);
    return group;
}

QString Cased(const QString& text, LetterCase letterCase) {
    switch (letterCase) {
    case LetterCase::Upper:
        return text.toUpper();
    case LetterCase::Lower:
        return text.toLower();
    case LetterCase::AsTyped:
        break;
    }
    return text;
}

} // namespace

TF_CAE::TF_CAE(QWidget* parent) : QDialog(parent) {
    setObjectName(u"F_CAE"_s);
    setWindowTitle(u"F_CAE - Cadastro da Empresa"_s);
    buildControls();
    // The stored register, read afresh through the company header.
    data::LoadCompanyHeader();
    fill(CompanyRegisterFromLines());
    // The header carries the name and code as the window shows them.
    data::TRecCae& company = data::Globals().company;
    const CompanyRegister shown = values();
    company.name = shown.text(u"E_EMPRESA"_s).left(60);
    company.companyCode = shown.text(u"E_FILIALDEF"_s).left(3);
}

void TF_CAE::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    QAction* leave = menu->addAction(u"Sair"_s);
    connect(leave, &QAction::triggered, this, &TF_CAE::save);
    layout->setMenuBar(menu);

    auto* panel = new QHBoxLayout;
    auto* saveButton = new QPushButton(u"Salvar"_s, this);
    saveButton->setObjectName(u"BU_SALVAR"_s);
    saveButton->setToolTip(SaveHint);
    saveButton->setAutoDefault(false);
    connect(saveButton, &QPushButton::clicked, this, &TF_CAE::save);
    auto* cancelButton = new QPushButton(u"Cancelar"_s, this);
    cancelButton->setObjectName(u"BU_CANCELAR"_s);
    cancelButton->setToolTip(SaveHint);
    cancelButton->setAutoDefault(false);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    panel->addWidget(saveButton);
    panel->addWidget(cancelButton);
    panel->addStretch(1);
    layout->addLayout(panel);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(u"PageControl1"_s);
    layout->addWidget(m_tabs);
    std::map<RegisterTab, QFormLayout*> forms;
    const auto formOf = [&](RegisterTab tab) {
        QFormLayout*& form = forms[tab];
        if (!form) {
            auto* page = new QWidget(m_tabs);
            form = new QFormLayout(page);
            m_tabs->addTab(page, TabCaption(tab));
        }
        return form;
    };
    const bool levelNine = data::Globals().user.level == u"9"_s;
    for (const RegisterField& field : CompanyRegisterFields()) {
        QFormLayout* form = formOf(field.tab);
        if (field.name == u"E_FILIALDEF"_s) {
            m_companyType =
                RadioGroup(u"RG_TIPO"_s, u"Tipo de Empresa"_s, CompanyTypeItems(), form);
            m_duplicateSeries = RadioGroup(u"RG_SERIE_DUP"_s, u"Série da Duplicata"_s,
                                           DuplicateSeriesItems(), form);
        }
        QWidget* control;
        if (!field.items.isEmpty()) {
            auto* choice = new QComboBox(this);
            choice->setEditable(true);
            choice->addItems(field.items);
            control = choice;
        } else {
            auto* edit =
                field.name == u"E_CGC"_s ? new platform::MaskedLineEdit(this) : new QLineEdit(this);
            if (field.name == u"E_CGC"_s) edit->setInputMask(u"99.999.999/9999-99;_"_s);
            if (field.maxLength > 0) edit->setMaxLength(field.maxLength);
            if (field.letterCase != LetterCase::AsTyped) {
                const LetterCase letterCase = field.letterCase;
                connect(edit, &QLineEdit::textEdited, edit,
                        [edit, letterCase](const QString& text) {
                            const int cursor = edit->cursorPosition();
                            edit->setText(Cased(text, letterCase));
                            edit->setCursorPosition(cursor);
                        });
            }
            if (field.name == u"E_SENHADIR"_s && !levelNine) {
                edit->setReadOnly(true);
                edit->setToolTip(u"Somente um usuário de nível 9 altera os níveis de acesso"_s);
            }
            control = edit;
        }
        control->setObjectName(field.name);
        control->installEventFilter(this);
        m_controls[field.name] = control;
        form->addRow(field.caption, control);
        if (field.name == u"E_SERNF"_s) {
            m_multiBranch = new QCheckBox(u"Multiplas Filiais"_s, this);
            m_multiBranch->setObjectName(u"CB_MULTFIL"_s);
            m_multiBranch->installEventFilter(this);
            form->addRow(m_multiBranch);
        }
    }
    m_tabs->setCurrentIndex(0);
}

void TF_CAE::fill(const CompanyRegister& record) {
    for (const auto& [name, control] : m_controls) {
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(record.text(name));
        else if (auto* choice = qobject_cast<QComboBox*>(control))
            choice->setCurrentText(record.text(name));
    }
    if (QAbstractButton* type = m_companyType->button(record.companyType)) type->setChecked(true);
    if (QAbstractButton* series = m_duplicateSeries->button(record.duplicateSeries))
        series->setChecked(true);
    m_multiBranch->setChecked(record.multiBranch);
}

CompanyRegister TF_CAE::values() const {
    CompanyRegister record;
    for (const auto& [name, control] : m_controls) {
        if (const auto* edit = qobject_cast<const QLineEdit*>(control))
            record.texts[name] = edit->text();
        else if (const auto* choice = qobject_cast<const QComboBox*>(control))
            record.texts[name] = choice->currentText();
    }
    record.companyType = std::max(0, m_companyType->checkedId());
    record.duplicateSeries = std::max(0, m_duplicateSeries->checkedId());
    record.multiBranch = m_multiBranch->isChecked();
    return record;
}

void TF_CAE::save() {
    const bool levelNine = data::Globals().user.level == u"9"_s;
    if (!SaveCompanyRegister(values(), levelNine)) {
        platform::ShowError(this, u"O cadastro da empresa não pôde ser gravado no banco de "
                                  u"dados do programa. Nada foi alterado."_s);
        return;
    }
    data::CommitAll();
    accept();
}

void TF_CAE::left(QLineEdit* edit) {
    const QString name = edit->objectName();
    if (name == u"E_CEP"_s) {
        edit->setText(ShapePostalCode(edit->text()));
        return;
    }
    const QString problem = name == u"E_CGC"_s       ? CnpjProblem(edit->text())
                            : name == u"E_RES_CPF"_s ? CpfProblem(edit->text())
                                                     : QString();
    // Shown once the focus has moved on, where it comes back after the box.
    if (!problem.isEmpty())
        QTimer::singleShot(0, this, [this, problem] { platform::ShowMessage(this, problem); });
}

bool TF_CAE::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // A message box taking the focus is not the user leaving the field.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (auto* edit = qobject_cast<QLineEdit*>(watched);
            edit && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            left(edit);
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void RegisterRegisterWindows() {
    platform::RegisterWindow(u"CAE"_s, [](QWidget* parent, const QStringList&) {
        TF_CAE window(parent);
        window.exec();
    });
    platform::RegisterWindow(u"EPP"_s, [](QWidget* parent, const QStringList&) {
        TF_EPP window(parent);
        window.exec();
    });
    // Argument: the customer whose first entry is shown.
    platform::RegisterWindow(u"CPC"_s, [](QWidget* parent, const QStringList& arguments) {
        TF_CPC window(parent, arguments.value(0));
        window.exec();
    });
}

} // namespace livrax::registers
