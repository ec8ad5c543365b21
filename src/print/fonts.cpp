#include "print/fonts.h"

#include "print/print_surface.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace livrax::print {

namespace {
void RegisterSubstitutes() {
    static const bool done = [] {
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
        QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                                  QStringLiteral("Liberation Serif"));
        return true;
    }();
    (void)done;
}
} // namespace

QFont MakeFont(const FontSpec& spec, int dpi) {
    RegisterSubstitutes();
    QFont font(spec.name.isEmpty() ? QStringLiteral("Arial") : spec.name);
    // Sizes are points at the device's resolution, so a page image, a printer
    // and a PDF give the same proportions.
    font.setPixelSize(std::max(1, int(std::lround(spec.size * dpi / 72.0))));
    font.setBold(spec.style.contains(u'B'));
    font.setUnderline(spec.style.contains(u'S'));
    font.setItalic(spec.style.contains(u'I'));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QSize CharacterCell(int dpi) {
    const QFontMetrics metrics(MakeFont(FontSpec{QStringLiteral("Arial"), 8, {}}, dpi));
    return {metrics.horizontalAdvance(u'a'), metrics.height()};
}

} // namespace livrax::print
