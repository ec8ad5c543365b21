#include "tools/record_mode.h"

#include <QAction>
#include <QLabel>
#include <QWidget>

#include <optional>

namespace livrax::tools {

using namespace Qt::StringLiterals;

namespace {

enum class Mode { Inserting, Changing, Browsing, Closed };

std::optional<Mode> ModeOf(const QString& action) {
    if (action == u"BU_NOVO"_s) return Mode::Inserting;
    if (action == u"BU_ALTERA"_s) return Mode::Changing;
    if (action == u"BU_SALVA"_s || action == u"BU_EXCLUI"_s || action == u"BU_OPEN"_s)
        return Mode::Browsing;
    if (action == u"BU_CLOSE"_s) return Mode::Closed;
    return std::nullopt;
}

const QStringList& ButtonNames() {
    static const QStringList names = {u"BU_OPEN"_s,     u"BU_CLOSE"_s,    u"BU_NOVO"_s,
                                      u"BU_ALTERA"_s,   u"BU_SALVA"_s,    u"BU_EXCLUI"_s,
                                      u"BU_PRIMEIRO"_s, u"BU_RETORNA"_s,  u"BU_AVANCA"_s,
                                      u"BU_ULTIMO"_s,   u"BU_PESQUISA"_s, u"BU_SAIR"_s};
    return names;
}

bool ButtonEnabled(const QString& name, Mode mode) {
    const bool saveOrDelete = name == u"BU_SALVA"_s || name == u"BU_EXCLUI"_s;
    switch (mode) {
    case Mode::Inserting:
    case Mode::Changing:
        return saveOrDelete;
    case Mode::Browsing:
        return !saveOrDelete && name != u"BU_OPEN"_s;
    case Mode::Closed:
        return name == u"BU_OPEN"_s || name == u"BU_SAIR"_s;
    }
    return false;
}

// Every widget and action of the window carrying `name`.
void EnableNamed(QWidget* window, const QString& name, bool enabled) {
    for (QWidget* widget : window->findChildren<QWidget*>(name))
        widget->setEnabled(enabled);
    for (QAction* action : window->findChildren<QAction*>(name))
        action->setEnabled(enabled);
}

} // namespace

void SetRecordMode(QWidget* window, const QString& action, RecordButtons buttons) {
    const std::optional<Mode> mode = ModeOf(action);
    if (!window || !mode) return;
    for (const QString& name : ButtonNames())
        EnableNamed(window, name, ButtonEnabled(name, *mode));
    if (buttons == RecordButtons::ToolBar) return;

    const bool editing = *mode == Mode::Inserting || *mode == Mode::Changing;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->objectName().startsWith(u"PA_CADASTRO"_s)) widget->setEnabled(editing);
    }
    EnableNamed(window, u"ED_PESQ"_s, *mode == Mode::Browsing);
    if (*mode == Mode::Closed) return;
    const QString caption = *mode == Mode::Inserting  ? u"INCLUSÃO"_s
                            : *mode == Mode::Changing ? u"ALTERAÇÃO"_s
                                                      : u"CONSULTA"_s;
    for (QLabel* label : window->findChildren<QLabel*>(u"LA_IAE"_s))
        label->setText(caption);
}

} // namespace livrax::tools
