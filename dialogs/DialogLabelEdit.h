#pragma once

#include "forms/AxisForm.h"
#include "model/TextInfo.h"

#include <QDialog>

class CTextPreview;
class IUserInteraction;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// "目盛ラベル設定": format, font, colours and placement of an axis's tick labels. Edits a
// copy that the caller takes back after OK.
class CDialogLabelEdit : public QDialog
{
    Q_OBJECT

public:
    explicit CDialogLabelEdit(IUserInteraction& ui, QWidget* parent = nullptr);

    void SetTextInfo(const CTextInfo& text);
    const CTextInfo& TextInfo() const { return m_text; }

    LabelForm::Values Values() const;
    void SetValues(const LabelForm::Values& values);

    QComboBox* FormatBox() const { return m_format; }
    QLineEdit* DistanceEdit() const { return m_distance; }
    QAbstractButton* AnchorButton(TextAnchor anchor) const;
    QPushButton* FontButton() const { return m_fontButton; }
    QPushButton* BackColorButton() const { return m_backButton; }
    QCheckBox* TransparentBox() const { return m_transparent; }

    // Reads the distance, checks the format; a failure keeps the dialog open.
    void accept() override;

private:
    void ChooseFont();
    void ChooseBackColor();
    void Repaint();

    IUserInteraction& m_ui;
    CTextInfo m_text;
    QComboBox* m_format;
    CTextPreview* m_preview;
    QPushButton* m_fontButton;
    QPushButton* m_backButton;
    QCheckBox* m_transparent;
    QButtonGroup* m_anchor;
    QLineEdit* m_distance;
};
