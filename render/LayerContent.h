#pragma once

class CDrawContext;
class CVantrelDoc;
class QImage;

// What each of a view's two layers receives by the document's edit mode, over the picture
// (base layer) or over the copy of the base layer (overlay). The caller draws the picture
// and makes the copy; these draw the design elements only.
//
// While data runs the base layer takes the newest history step of every committed plot and
// the History connections; the overlay takes the current state of every connection, plot
// and bar. The editing modes show the working copies of the open dialog, the selected one
// highlighted on the overlay. The document is not locked here.
void DrawBaseElements(CDrawContext& dc, CVantrelDoc& doc, double scale);
void DrawOverlayElements(CDrawContext& dc, CVantrelDoc& doc, double scale);

// The base layer copied into the overlay layer; the overlay is reallocated only when its
// size or format differs.
void CopyLayer(const QImage& base, QImage& overlay);
