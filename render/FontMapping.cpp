#include "render/FontMapping.h"

#include <QFontMetricsF>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

constexpr int kDefaultFontPixels = 12;

// Cell height per pixel of character height, per face; measured once per face.
double CellRatio(const QFont& base)
{
    static std::mutex lock;
    static QHash<QString, double> ratios;
    const QString key = base.family();
    {
        const std::lock_guard guard(lock);
        const auto it = ratios.constFind(key);
        if (it != ratios.constEnd())
            return *it;
    }
    QFont probe(base);
    probe.setPixelSize(100);
    const QFontMetricsF metrics(probe);
    double ratio = (metrics.ascent() + metrics.descent()) / 100.0;
    if (!(ratio > 0.5 && ratio < 4.0))
        ratio = 1.0;
    const std::lock_guard guard(lock);
    ratios.insert(key, ratio);
    return ratio;
}

} // namespace

void EnsureFontSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
        QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
        QFont::insertSubstitution(QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"));
        QFont::insertSubstitution(QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"));
    });
}

QFont FontFromLogFont(const LOGFONTW& lf)
{
    EnsureFontSubstitutions();
    QFont font;
    const QString face = lf.FaceName();
    font.setFamily(face.isEmpty() ? QStringLiteral("IPAPGothic") : face);
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    font.setWeight(lf.lfWeight <= 0 ? QFont::Normal : static_cast<QFont::Weight>(std::min(lf.lfWeight, 1000)));
    // Text extents then equal the sum of the advances, as the stored layouts expect.
    font.setKerning(false);
    if (lf.lfQuality == 3) // NONANTIALIASED_QUALITY
        font.setStyleStrategy(QFont::NoAntialias);

    const int64_t height = lf.lfHeight;
    int pixels = kDefaultFontPixels;
    if (height < 0)
        pixels = static_cast<int>(std::min<int64_t>(-height, kMaxFontPixels));
    else if (height > 0)
        pixels = static_cast<int>(std::lround(std::min<double>(double(height), kMaxFontPixels) / CellRatio(font)));
    font.setPixelSize(std::clamp(pixels, 1, kMaxFontPixels));
    return font;
}
