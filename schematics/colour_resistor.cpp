#include "schematics/circuit.h"

#include <QLine>
#include <QPainter>
#include <QRect>

namespace ohmtrim {

namespace {

struct Band {
    QPen DrawingObjects::*pen;
    int y;
};

// The bands run from x = 121 to 178; with the 16-pixel round caps they end
// 3 pixels inside the body's outline on either side.
constexpr int kBandLeft = 121;
constexpr int kBandRight = 178;
constexpr Band kBands[] = {
    {&DrawingObjects::redBandPen, 150},
    {&DrawingObjects::magentaBandPen, 175},
    {&DrawingObjects::yellowBandPen, 200},
    {&DrawingObjects::brownBandPen, 260},
};

} // namespace

void DrawColourBandResistor(QPainter& p, const DrawingObjects& o) {
    const bool wasAntialiased = p.testRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::Antialiasing, false);

    p.setPen(o.outlinePen);
    p.setBrush(o.greyBrush);
    p.drawLine(QLine(150, 100, 150, 130));
    // Same rectangle convention as the schematics: the outline is centred
    // on the edges (110, 130) and (190, 280).
    p.drawRect(QRect(110, 130, 190 - 110, 280 - 130));
    p.drawLine(QLine(150, 280, 150, 310));
    for (const Band& band : kBands) {
        p.setPen(o.*band.pen);
        p.drawLine(QLine(kBandLeft, band.y, kBandRight, band.y));
    }
    p.setPen(o.outlinePen);

    p.setRenderHint(QPainter::Antialiasing, wasAntialiased);
}

} // namespace ohmtrim
