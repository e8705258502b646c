#pragma once

#include "dialogs/EditContext.h"
#include "dialogs/PrefixLists.h"
#include "model/PlotInfo.h"

#include <QDialog>

#include <optional>

class CListWithButtons;
class CTextInfoList;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// "プロット情報その他編集": variable size, the prefix lists, the text displays and the history
// polyline of the working plot at the document's selection index. List changes and the
// polyline colour go into the plot at once; Apply and OK write the single-value fields;
// Cancel puts the whole plot back as it was when the dialog opened. Runs modally.
class CDialogPlotEditOthers : public QDialog
{
    Q_OBJECT

public:
    CDialogPlotEditOthers(const CEditContext& context, QWidget* parent = nullptr);

    QCheckBox* VariableSizeCheck() const { return m_variableSize; }
    QLineEdit* SizeFdNoEdit() const { return m_sizeFdNo; }
    QLineEdit* SizeBaseEdit() const { return m_sizeBase; }
    QLineEdit* SizeStepEdit() const { return m_sizeStep; }
    QAbstractButton* SizeValueKindButton(int value) const;
    QCheckBox* HistoryShowCheck() const { return m_historyShow; }
    QComboBox* HistoryStyleBox() const { return m_historyStyle; }
    QLineEdit* HistoryWidthEdit() const { return m_historyWidth; }
    CListWithButtons* IncludeList() const { return m_include; }
    CListWithButtons* IgnoreList() const { return m_ignore; }
    CTextInfoList* TextList() const { return m_texts; }
    QWidget* ColorSwatch() const { return m_swatch; }
    QPushButton* ColorButton() const { return m_colorButton; }
    QPushButton* ApplyButton() const { return m_apply; }

    void accept() override;
    void reject() override;

private:
    struct Fields
    {
        int32_t variableSize = 0;
        int32_t sizeFdNo = 0;
        double sizeBase = 0.0;
        double sizeStep = 0.0;
        int32_t historyShow = 0;
        int32_t historyWidth = 0;
    };

    // The plot being edited; null when the selection does not name one.
    CPlotInfo* Plot() const;
    void LoadFields();
    bool ReadFields(Fields& out);
    // Reads the fields and writes the single values into the plot; false when a field failed.
    bool WriteFields();
    void OnApply();
    PrefixSource Prefixes(std::vector<QString> CPlotInfo::*member) const;
    void OnColor();

    CEditContext m_context;
    std::optional<CPlotInfo> m_saved;
    bool m_applied = false;

    QCheckBox* m_variableSize;
    QLineEdit* m_sizeFdNo;
    QLineEdit* m_sizeBase;
    QLineEdit* m_sizeStep;
    QButtonGroup* m_sizeValueKind;
    CListWithButtons* m_include;
    CListWithButtons* m_ignore;
    CTextInfoList* m_texts;
    QCheckBox* m_historyShow;
    QComboBox* m_historyStyle;
    QWidget* m_swatch;
    QPushButton* m_colorButton;
    QLineEdit* m_historyWidth;
    QPushButton* m_apply;
};
