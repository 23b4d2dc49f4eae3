#pragma once
// Paints a draw list worked out in core on any Qt device: window, bitmap,
// printer.
#include "common/core/chart_drawing.h"

class QPainter;

namespace korv {

// Each line in its own colour and width, then the texts in black in the
// painter's font; the painter's state is restored afterwards.
void paint_drawing(QPainter& painter, const ChartDrawing& drawing);

}  // namespace korv
