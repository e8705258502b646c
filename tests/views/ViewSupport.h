#pragma once

#include "model/VantrelDoc.h"
#include "pipeline/Buffer.h"
#include "pipeline/DocData.h"
#include "pipeline/FieldRow.h"

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QWidget>

#include <memory>

// A document on a patterned picture (so that every scroll offset shows something different)
// with one History plot whose trail follows FD 1 across and FD 2 down.
inline std::unique_ptr<CVantrelDoc> TrailDocument(int width = 1600, int height = 900)
{
    auto doc = std::make_unique<CVantrelDoc>();
    doc->m_pictureWidth = width;
    doc->m_pictureHeight = height;
    doc->m_image = QImage(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(doc->m_image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x * 7) & 0xFF, (y * 5) & 0xFF, ((x ^ y) * 3) & 0x7F);
    }
    CPlotInfo plot;
    plot.m_id = 1;
    plot.m_displayKind = DisplayKind::History;
    plot.m_size = 4;
    plot.m_fill = 1;
    plot.m_color = 0x0000FF;
    plot.m_axisCount = 2;
    CAxisInfo& x = plot.m_axes[0];
    x.m_fdNo = 1;
    x.m_startX = 100, x.m_startY = 900, x.m_endX = 1700, x.m_endY = 900;
    x.m_startValue = 0, x.m_endValue = 100;
    CAxisInfo& y = plot.m_axes[1];
    y.m_fdNo = 2;
    y.m_startX = 100, y.m_startY = 900, y.m_endX = 100, y.m_endY = 100;
    y.m_startValue = 0, y.m_endValue = 100;
    plot.ComputeOrigin();
    plot.m_historyLine.m_show = 1;
    plot.m_historyLine.m_color = 0x00FF00;
    doc->m_plots.push_back(plot);
    return doc;
}

inline CBuffer<FieldRow> TrailRows(int count)
{
    CBuffer<FieldRow> rows;
    for (int i = 0; i < count; ++i)
        rows.Add(FieldRow{QStringLiteral("PV"), QString::number(i * 100.0 / count), QString::number((i * 37) % 100)});
    return rows;
}

inline CDocData RowItem(const CBuffer<FieldRow>& rows, int64_t r, int32_t type = ApplyAndRepaint)
{
    return CDocData(type, int32_t(r), rows.GetAt(r), nullptr);
}

// Counts the paint events a widget receives.
class CPaintCounter : public QObject
{
public:
    explicit CPaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int m_paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_paints;
        return false;
    }
};

// What the widget shows, rendered again from its paint handler.
inline QImage Shown(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}
