#pragma once

#include "dialogs/TextPreview.h"
#include "model/TextInfo.h"

#include <QDialog>
#include <QFont>

class IUserInteraction;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// "テキスト情報の編集": one text display of a plot or bar. Works on its own copy; the caller
// takes Text() back only when the dialog ends with OK.
class CDialogTextEdit : public QDialog
{
    Q_OBJECT

public:
    explicit CDialogTextEdit(IUserInteraction& ui, QWidget* parent = nullptr);

    void SetText(const CTextInfo& text);
    const CTextInfo& Text() const { return m_text; }

    QLineEdit* FdNoEdit() const { return m_fdNo; }
    QLineEdit* DistanceEdit() const { return m_distance; }
    QLineEdit* PrefixEdit() const { return m_prefix; }
    QLineEdit* SuffixEdit() const { return m_suffix; }
    QLineEdit* MultiplierEdit() const { return m_multiplier; }
    QLineEdit* AdderEdit() const { return m_adder; }
    QComboBox* FormatBox() const { return m_format; }
    // The radio buttons by the value they stand for; null for a value the group lacks.
    QAbstractButton* DisplayKindButton(int value) const;
    QAbstractButton* ValueKindButton(int value) const;
    QAbstractButton* AnchorButton(int value) const;
    QAbstractButton* LogicalKindButton(int value) const;
    QPushButton* FontButton() const { return m_fontButton; }
    QPushButton* BackColorButton() const { return m_backColorButton; }
    QCheckBox* TransparentCheck() const { return m_transparent; }
    CTextPreview* Preview() const { return m_preview; }

    // Reads the fields in order, writes them into the copy, then checks the format; stays
    // open on any failure.
    void accept() override;

private:
    void LoadFields();
    void OnFont();
    void OnBackColor();
    void OnTransparent(bool checked);

    IUserInteraction& m_ui;
    CTextInfo m_text;

    QLineEdit* m_fdNo;
    QButtonGroup* m_displayKind;
    QButtonGroup* m_valueKind;
    QButtonGroup* m_anchor;
    QLineEdit* m_distance;
    QLineEdit* m_prefix;
    QLineEdit* m_suffix;
    QButtonGroup* m_logicalKind;
    QLineEdit* m_multiplier;
    QLineEdit* m_adder;
    QComboBox* m_format;
    CTextPreview* m_preview;
    QPushButton* m_fontButton;
    QCheckBox* m_transparent;
    QPushButton* m_backColorButton;
};
