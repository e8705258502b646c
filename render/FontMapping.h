#pragma once

#include "platform/LogFont.h"

#include <QFont>

// The stored Japanese faces name fonts this platform lacks; they are mapped once, process
// wide, to the installed IPA faces.
void EnsureFontSubstitutions();

// A font as the stored record asks for it: a negative height is the character height, a
// positive one the cell height (ascent + descent), zero a default size. Sizes are kept
// within what a picture can show.
QFont FontFromLogFont(const LOGFONTW& lf);

// Largest character height handed to the font engine, in pixels.
constexpr int kMaxFontPixels = 1000;
