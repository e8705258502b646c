#include "dialogs/TextPreview.h"

#include "model/TextInfo.h"
#include "render/DrawContext.h"
#include "render/FontMapping.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

const QString kSample = QStringLiteral("あいうえお");

} // namespace

CTextPreview::CTextPreview(QWidget* parent)
    : QWidget(parent)
{
    setMinimumSize(160, 48);
    setAccessibleName(kSample);
}

void CTextPreview::Show(const CTextInfo& text)
{
    m_font = FontFromLogFont(text.m_font);
    m_textColor = ColorFromRef(text.m_textColor);
    m_backColor = ColorFromRef(text.m_backColor);
    m_opaque = text.m_opaque != 0;
    update();
}

void CTextPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setClipRect(rect());
    painter.setFont(m_font);
    const QFontMetrics metrics(m_font);
    const QRect box(QPoint(4, (height() - metrics.height()) / 2),
                    QSize(metrics.horizontalAdvance(kSample), metrics.height()));
    if (m_opaque)
        painter.fillRect(box, m_backColor);
    painter.setPen(m_textColor);
    painter.drawText(box.left(), box.top() + metrics.ascent(), kSample);
}
