#include "forms/EditPattern.h"

#include "model/Enums.h"
#include "model/VantrelDoc.h"

namespace {

template <typename F>
void WithLists(CVantrelDoc& doc, DesignKind kind, F&& f)
{
    switch (kind) {
    case DesignKind::Plot:
        f(doc.m_plots, doc.m_workPlots);
        break;
    case DesignKind::Connect:
        f(doc.m_connects, doc.m_workConnects);
        break;
    case DesignKind::Bar:
        f(doc.m_bars, doc.m_workBars);
        break;
    }
}

} // namespace

CEditModes EditModesOf(DesignKind kind)
{
    switch (kind) {
    case DesignKind::Plot:
        return {EditMode::PlotList, EditMode::PlotAdd, EditMode::PlotChange};
    case DesignKind::Connect:
        return {EditMode::ConnectList, EditMode::ConnectAdd, EditMode::ConnectChange};
    case DesignKind::Bar:
        break;
    }
    return {EditMode::BarList, EditMode::BarAdd, EditMode::BarChange};
}

bool EditedKind(int32_t editMode, DesignKind& kind)
{
    for (DesignKind k : {DesignKind::Plot, DesignKind::Connect, DesignKind::Bar}) {
        const CEditModes modes = EditModesOf(k);
        if (editMode == modes.add || editMode == modes.change) {
            kind = k;
            return true;
        }
    }
    return false;
}

void BeginListCommand(CVantrelDoc& doc, DesignKind kind, const HintSink& hint)
{
    const CEditModes modes = EditModesOf(kind);
    if (doc.m_editMode != modes.add && doc.m_editMode != modes.change) {
        WithLists(doc, kind, [](auto& committed, auto& work) { work = committed; });
        doc.m_selectedIndex = -1;
    }
    doc.m_editMode = modes.list;
    hint(EditHint::ListOpenedOrDeleted);
}

bool EndListCommand(CVantrelDoc& doc, DesignKind kind, int result, const HintSink& hint)
{
    const CEditModes modes = EditModesOf(kind);
    if (kind != DesignKind::Connect && (result == ListResult::Add || result == ListResult::Change)) {
        doc.m_editMode = result == ListResult::Add ? modes.add : modes.change;
        return true;
    }
    WithLists(doc, kind, [&](auto& committed, auto& work) {
        if (result == ListResult::Ok) {
            committed = work;
            doc.m_modified = 1;
            doc.m_filePath.clear();
        }
        work.clear();
    });
    doc.m_editMode = EditMode::None;
    hint(EditHint::EditOpenedOrListClosed);
    return false;
}

int RowToSelect(int requested, int count)
{
    if (count <= 0)
        return -1;
    return requested >= 0 && requested < count ? requested : count - 1;
}

CMoveButtons MoveButtonsFor(int row, int count)
{
    return {row != 0 && count >= 2, row != count - 1};
}

QString QuotedList(const std::vector<QString>& strings)
{
    QStringList quoted;
    for (const QString& s : strings)
        quoted << QLatin1Char('"') + s + QLatin1Char('"');
    return quoted.join(QLatin1Char(','));
}
