#include "cli/HeadlessDisplay.h"

#include "cli/HeadlessHost.h"
#include "render/ViewLayers.h"

#include <QRegularExpression>

std::optional<CHeadlessDisplay> OpenHeadlessDisplay(CHeadlessHost& host, const QString& path,
                                                    std::optional<ViewKind> kind, QString& error)
{
    error.clear();
    if (!host.OpenDocument(path))
        return std::nullopt;
    const bool scrollDocument = host.DocumentCount(0) == 1;
    CVantrelDoc& doc = *host.Document(scrollDocument ? 0 : 1, 0);
    if (doc.m_pictureWidth < 1 || doc.m_pictureHeight < 1) {
        error = path + QStringLiteral(": the document has no picture size");
        return std::nullopt;
    }
    const ViewKind chosen = kind.value_or(scrollDocument ? ViewKind::Scroll : ViewKind::Stretch);
    if (chosen == ViewKind::Scroll && (doc.m_pictureWidth > kMaxLayerSide || doc.m_pictureHeight > kMaxLayerSide)) {
        error = path + QStringLiteral(": the picture size is too large for a view");
        return std::nullopt;
    }
    return CHeadlessDisplay{&doc, chosen};
}

std::optional<QSize> ParseViewSize(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int w = m.captured(1).toInt(), h = m.captured(2).toInt();
    if (w < 1 || h < 1 || w > kMaxLayerSide || h > kMaxLayerSide)
        return std::nullopt;
    return QSize(w, h);
}

std::optional<ViewKind> ParseViewKind(const QString& text)
{
    if (text == QLatin1String("scroll"))
        return ViewKind::Scroll;
    if (text == QLatin1String("stretch"))
        return ViewKind::Stretch;
    return std::nullopt;
}
