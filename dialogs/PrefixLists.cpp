#include "dialogs/PrefixLists.h"

#include "dialogs/DialogStr.h"

#include <QPushButton>

void FillPrefixList(CListWithButtons* list, const PrefixSource& strings, int requested)
{
    QStringList lines;
    if (const std::vector<QString>* s = strings())
        lines = QStringList(s->begin(), s->end());
    list->Fill(lines, requested);
}

void WirePrefixList(CListWithButtons* list, IUserInteraction& ui, DialogRunner run, PrefixSource strings,
                    bool addStartsWithSelection)
{
    // Runs the string dialog on text; true (with text changed) on OK.
    const auto edit = [list, &ui, run](QString& text) {
        CDialogStr dialog(ui, list->window());
        dialog.SetString(text);
        if (RunSubDialog(run, dialog) != QDialog::Accepted)
            return false;
        text = dialog.String();
        return true;
    };
    // The selected entry's index, or -1.
    const auto selected = [list, strings] {
        const std::vector<QString>* s = strings();
        const int row = list->Current();
        return s && row >= 0 && size_t(row) < s->size() ? row : -1;
    };

    QObject::connect(list->AddButton(), &QPushButton::clicked, list, [=] {
        QString text;
        if (const int row = selected(); addStartsWithSelection && row >= 0)
            text = (*strings())[size_t(row)];
        // The list is looked up again after the sub-dialog has run.
        if (!strings() || !edit(text))
            return;
        std::vector<QString>* s = strings();
        if (!s)
            return;
        s->push_back(text);
        FillPrefixList(list, strings, static_cast<int>(s->size()) - 1);
    });
    QObject::connect(list->EditButton(), &QPushButton::clicked, list, [=] {
        const int row = selected();
        if (row < 0)
            return;
        QString text = (*strings())[size_t(row)];
        if (!edit(text) || selected() != row)
            return; // the entry went away meanwhile
        (*strings())[size_t(row)] = text;
        FillPrefixList(list, strings, row);
    });
    QObject::connect(list->DeleteButton(), &QPushButton::clicked, list, [=] {
        const int row = selected();
        if (row < 0)
            return;
        std::vector<QString>& s = *strings();
        s.erase(s.begin() + row);
        FillPrefixList(list, strings, row);
    });
}
