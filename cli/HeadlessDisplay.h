#pragma once

#include "render/UpdateHint.h"

#include <QSize>
#include <QString>

#include <optional>

class CHeadlessHost;
class CVantrelDoc;

// What render and serve show: the document opened from a file and the kind of its view.
struct CHeadlessDisplay
{
    CVantrelDoc* m_doc = nullptr;
    ViewKind m_kind = ViewKind::Scroll;
};

// Opens the document in the host; the view kind is the document's own unless one is asked
// for. Nothing, with the reason in error, when the host could not open it (the host said why
// already, error stays empty) or it cannot be shown.
std::optional<CHeadlessDisplay> OpenHeadlessDisplay(CHeadlessHost& host, const QString& path,
                                                    std::optional<ViewKind> kind, QString& error);

// "WxH", each side from 1 to the largest layer side.
std::optional<QSize> ParseViewSize(const QString& text);
// "scroll" or "stretch".
std::optional<ViewKind> ParseViewKind(const QString& text);

// The client size of a stretch view when none is given.
inline constexpr QSize kDefaultHeadlessClient(1280, 800);
