#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

class CTextInfo;

// "あいうえお" as a text display or tick label would draw it: its font, its text colour, and
// its background colour behind the text only when the background is opaque.
class CTextPreview : public QWidget
{
public:
    explicit CTextPreview(QWidget* parent = nullptr);

    void Show(const CTextInfo& text);
    const QFont& PreviewFont() const { return m_font; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont m_font;
    QColor m_textColor;
    QColor m_backColor;
    bool m_opaque = true;
};
