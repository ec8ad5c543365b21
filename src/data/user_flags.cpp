#include "data/user_flags.h"

#include "data/globals.h"

namespace livrax::data {

namespace {

constexpr int FlagsWidth = 20;
constexpr int DefaultScreenPrintMode = 3;

QChar FlagAt(const QString& flags, UserFlag flag) {
    const int index = int(flag) - 1;
    return index < flags.size() ? flags.at(index) : QChar(u' ');
}

// The flags padded with spaces (never cut) to the stored width, so every
// position can be set.
QString Padded(QString flags) {
    if (flags.size() < FlagsWidth) flags = flags.leftJustified(FlagsWidth);
    return flags;
}

} // namespace

bool FlagOn(const QString& flags, UserFlag flag) {
    const QChar value = FlagAt(flags, flag);
    switch (flag) {
    case UserFlag::Messages:
    case UserFlag::Agenda:
    case UserFlag::Authenticate:
        return value != u'N';
    case UserFlag::ReadReceipt:
    case UserFlag::ColouredRows:
    case UserFlag::PrintDialogInPreview:
    case UserFlag::ScreenPrint:
        break;
    }
    return value == u'S';
}

bool UserFlagOn(UserFlag flag) {
    return FlagOn(Globals().user.flags, flag);
}

QString FlagsWith(QString flags, UserFlag flag, bool on) {
    flags = Padded(std::move(flags));
    flags[int(flag) - 1] = on ? u'S' : u'N';
    return flags;
}

int ScreenPrintMode(const QString& flags) {
    const QChar value = FlagAt(flags, UserFlag::ScreenPrint);
    return value >= u'0' && value <= u'3' ? value.unicode() - u'0' : DefaultScreenPrintMode;
}

QString FlagsWithScreenPrintMode(QString flags, int mode) {
    flags = Padded(std::move(flags));
    if (mode < 0 || mode > 3) mode = DefaultScreenPrintMode;
    flags[int(UserFlag::ScreenPrint) - 1] = QChar(char16_t(u'0' + mode));
    return flags;
}

int UserScreenPrintMode() {
    return ScreenPrintMode(Globals().user.flags);
}

} // namespace livrax::data
