#pragma once

#include "dialogs/EditContext.h"
#include "dialogs/PrefixLists.h"
#include "model/BarInfo.h"

#include <QDialog>

#include <optional>

class CListWithButtons;
class CTextInfoList;
class QPushButton;

// "棒情報その他編集": the prefix lists and text displays of the working bar at the document's
// selection index. Every change goes into the bar at once, so Apply only tells the views;
// Cancel puts the whole bar back as it was when the dialog opened. Runs modally.
class CDialogBarEditOthers : public QDialog
{
    Q_OBJECT

public:
    CDialogBarEditOthers(const CEditContext& context, QWidget* parent = nullptr);

    CListWithButtons* IncludeList() const { return m_include; }
    CListWithButtons* IgnoreList() const { return m_ignore; }
    CTextInfoList* TextList() const { return m_texts; }
    QPushButton* ApplyButton() const { return m_apply; }

    void reject() override;

private:
    // The bar being edited; null when the selection does not name one.
    CBarInfo* Bar() const;
    PrefixSource Prefixes(std::vector<QString> CBarInfo::*member) const;

    CEditContext m_context;
    std::optional<CBarInfo> m_saved;
    bool m_applied = false;

    CListWithButtons* m_include;
    CListWithButtons* m_ignore;
    CTextInfoList* m_texts;
    QPushButton* m_apply;
};
