#pragma once

#include "platform/UserInteraction.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// Font chooser with the text colour. It edits a copy of the record it is given and
// writes back only what the user changed, so an unchanged design saves byte for byte.
class CDialogFontColor : public QDialog
{
    Q_OBJECT

public:
    explicit CDialogFontColor(QWidget* parent = nullptr);

    void setValues(const FontChoice& choice);
    FontChoice values() const;

    // Widgets, for tests that drive the dialog without exec().
    QComboBox* faceBox() const { return m_face; }
    QComboBox* styleBox() const { return m_style; }
    QSpinBox* sizeBox() const { return m_size; }
    QCheckBox* strikeOutBox() const { return m_strikeOut; }
    QCheckBox* underlineBox() const { return m_underline; }
    void SetColor(COLORREF color);

    // Character height in pixels that a record asks for, as the drawing reads it.
    static int PixelSize(const LOGFONTW& font);

private:
    void OnColorButton();
    void UpdatePreview();

    QComboBox* m_face = nullptr;
    QComboBox* m_style = nullptr;
    QSpinBox* m_size = nullptr;
    QCheckBox* m_strikeOut = nullptr;
    QCheckBox* m_underline = nullptr;
    QPushButton* m_colorButton = nullptr;
    QLabel* m_preview = nullptr;

    FontChoice m_initial{};
    int m_initialStyle = 0;
    int m_initialPixels = 0;
    COLORREF m_color = 0;
};
