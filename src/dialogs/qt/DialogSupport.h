#pragma once
// What the message box and the input box share on the Qt side: the dialog
// font, its measures in twips, the owner's and the screen's rectangles in
// twips, and drawing the laid-out markup runs.
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <cstdint>
#include <vector>

#include "dialogs/DialogMetrics.h"
#include "dialogs/MessageMarkup.h"

class QPainter;
class QWidget;

namespace zevro {

// The dialogs' font: a Japanese proportional Gothic at 9 points ("IPAPGothic",
// else "IPAGothic"), named so that Japanese text never falls back to a font
// without its glyphs.
QFont dialogFont();

// The font's measures at the widget's logical resolution.
DialogMetrics dialogMetrics(const QFont& font, const QWidget& widget);

// Twips in the client area <-> pixels, at the widget's logical resolution.
QRect toPixels(const Rect& rect, const QWidget& widget);
int toPixelsX(int twips, const QWidget& widget);
int toPixelsY(int twips, const QWidget& widget);

// The owner's whole window (frame included) in twips on the screen; without
// an owner, the usable area of the primary screen stands in for it.
Rect ownerRect(const QWidget* owner, const QWidget& widget);
// The usable area of the screen the owner is on, in twips.
Rect screenRect(const QWidget* owner, const QWidget& widget);
// What the owner's frame adds around its client area, taken as the frame the
// dialog will get; nothing when there is no owner or it is not shown.
FrameSize frameOf(const QWidget* owner, const QWidget& widget);
// The number of colours the owner's screen shows: 16777216 at 24 bits.
std::int64_t displayColours(const QWidget* owner);

// Draws the runs: each at its place, in its colour (0xBBGGRR), bold or not;
// y is the top of the line.
void drawRuns(QPainter& painter, const std::vector<PlacedRun>& runs, const QFont& font, const QWidget& widget);

// The 32 x 32 picture both boxes show at their left.
QPixmap dialogIcon(const QWidget& widget);

}  // namespace zevro
