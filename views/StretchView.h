#pragma once

#include "views/ViewWidget.h"

// The stretch document's view: the picture fitted into the window, without scroll bars. The
// layers follow the window's size (replaying the stored history while data runs).
class CStretchView : public CViewWidget
{
    Q_OBJECT

public:
    explicit CStretchView(CVantrelDoc& doc, QWidget* parent = nullptr);

    // Over the height of the picture rectangle, which starts at the client origin.
    std::optional<QPointF> ClientToDesign(QPoint client) const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
};
