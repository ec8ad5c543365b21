#include "print/fonts.h"

#include "print/print_surface.h"

#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <unordered_map>

namespace livrax::print {

using namespace Qt::StringLiterals;

namespace {
void RegisterSubstitutes() {
    static const bool done = [] {
        QFont::insertSubstitution(u"Arial"_s, u"Liberation Sans"_s);
        QFont::insertSubstitution(u"Courier New"_s, u"Liberation Mono"_s);
        QFont::insertSubstitution(u"Times New Roman"_s, u"Liberation Serif"_s);
        return true;
    }();
    (void)done;
}

struct FontKey {
    QString name;
    int size;
    QString style;
    int dpi;
    bool operator==(const FontKey&) const = default;
};

struct FontKeyHash {
    size_t operator()(const FontKey& key) const {
        return qHashMulti(0, key.name, key.size, key.style, key.dpi);
    }
};

struct CachedFont {
    QFont font;
    QFontMetrics metrics;
    QHash<QString, int> widths;
};

// Remembered widths per font; past this many the memory is started afresh.
constexpr qsizetype MaxRememberedWidths = 20000;

QFont BuildFont(const FontSpec& spec, int dpi) {
    RegisterSubstitutes();
    QFont font(spec.name.isEmpty() ? u"Arial"_s : spec.name);
    // Sizes are points at the device's resolution, so a page image, a printer
    // and a PDF give the same proportions.
    font.setPixelSize(std::max(1, int(std::lround(spec.size * dpi / 72.0))));
    font.setBold(spec.style.contains(u'B'));
    font.setUnderline(spec.style.contains(u'S'));
    font.setItalic(spec.style.contains(u'I'));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

CachedFont& Cached(const FontSpec& spec, int dpi) {
    // Node-based, so entries keep their address while others are added; and
    // never destroyed, because fonts must not outlive the application's font
    // database, which goes away before static objects do.
    static auto& cache = *new std::unordered_map<FontKey, CachedFont, FontKeyHash>;
    FontKey key{spec.name, spec.size, spec.style, dpi};
    const auto found = cache.find(key);
    if (found != cache.end()) return found->second;
    const QFont font = BuildFont(spec, dpi);
    return cache.emplace(std::move(key), CachedFont{font, QFontMetrics(font), {}}).first->second;
}

} // namespace

QFont MakeFont(const FontSpec& spec, int dpi) {
    // A copy shares the cached font's data, with its font engine resolved.
    return Cached(spec, dpi).font;
}

const QFontMetrics& FontMetrics(const FontSpec& spec, int dpi) {
    return Cached(spec, dpi).metrics;
}

int TextWidth(const FontSpec& spec, int dpi, const QString& text) {
    CachedFont& cached = Cached(spec, dpi);
    const auto found = cached.widths.constFind(text);
    if (found != cached.widths.cend()) return *found;
    if (cached.widths.size() >= MaxRememberedWidths) cached.widths.clear();
    const int width = cached.metrics.horizontalAdvance(text);
    cached.widths.insert(text, width);
    return width;
}

QSize CharacterCell(int dpi) {
    const QFontMetrics& metrics = FontMetrics(FontSpec{u"Arial"_s, 8, {}}, dpi);
    return {metrics.horizontalAdvance(u'a'), metrics.height()};
}

} // namespace livrax::print
