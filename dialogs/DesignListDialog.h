#pragma once

#include "dialogs/EditContext.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <vector>

class QItemSelection;
class QPushButton;
class QTableWidget;

// Base of the plot, bar and connection list dialogs: a report-style list of the working list
// with "追加...", "変更...", "削除", "↑", "↓", "OK" and "キャンセル". It keeps the document's
// selection index on the selected row and tells the views about it; the kind-specific list
// and what add, change and OK do come from the subclass.
class CDesignListDialog : public QDialog
{
    Q_OBJECT

public:
    struct Column
    {
        QString header;
        int initialWidth = 100;
    };

    QTableWidget* Table() const { return m_table; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* ChangeButton() const { return m_change; }
    QPushButton* DeleteButton() const { return m_delete; }
    QPushButton* UpButton() const { return m_up; }
    QPushButton* DownButton() const { return m_down; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    // The selected row, -1 for none.
    int SelectedRow() const;

    // OK runs the subclass's checks; Escape and closing the window cancel with result 2.
    void accept() override;
    void reject() override;

protected:
    CDesignListDialog(const CEditContext& context, const QString& caption, const std::vector<Column>& columns,
                      QWidget* parent);

    // Replaces the rows and selects the requested row (the last one when it is not in the
    // list); an empty list clears the selection index and sends hint 3.
    void Fill(const std::vector<QStringList>& rows, int requested);
    void Refill(int requested) { Fill(Rows(), requested); }
    // Selects and focuses a row, as a click would.
    void SelectRow(int row);

    // The cell texts of the working list, one entry per row.
    virtual std::vector<QStringList> Rows() const = 0;
    virtual void RemoveEntry(int row) = 0;
    // Exchanges row with its neighbour (delta -1 or +1); the row to select, or -1 for no move.
    virtual int MoveEntry(int row, int delta) = 0;
    // Between the removal and the refill; plots and bars tell the views here.
    virtual void EntryRemoved() {}
    virtual void OnAdd() = 0;
    // Plots and bars hand over to their modeless edit dialog.
    virtual void OnChange() { done(ListResult::Change); }
    virtual void OnOk() { done(ListResult::Ok); }

    // The first fill, on opening: the list command has prepared the working list only after
    // the dialog was constructed.
    void showEvent(QShowEvent* event) override;
    virtual void InitDialog();

    void SendHint(int32_t hint) const;

    CEditContext m_context;

private:
    void OnSelectionChanged(const QItemSelection& selected);
    void OnDelete();
    void OnMove(int delta);

    QTableWidget* m_table;
    QPushButton* m_add;
    QPushButton* m_change;
    QPushButton* m_delete;
    QPushButton* m_up;
    QPushButton* m_down;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_filling = false;
    bool m_initialized = false;
};
