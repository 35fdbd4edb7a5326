#pragma once

#include <QBrush>
#include <QFont>
#include <QPen>

class QPainter;

namespace ohmtrim {

// The pens, brushes and font every window paints with. The main window
// creates one set at start and hands it to every other window.
struct DrawingObjects {
    QPen outlinePen;     // solid, 4 pixels, black
    QPen redBandPen;     // solid, 16 pixels, RGB 255, 0, 0
    QPen magentaBandPen; // solid, 16 pixels, RGB 255, 0, 255
    QPen yellowBandPen;  // solid, 16 pixels, RGB 255, 255, 0
    QPen brownBandPen;   // solid, 16 pixels, RGB 128, 64, 0
    QBrush greyBrush;    // RGB 128, 128, 128
    QBrush yellowBrush;  // RGB 255, 255, 0
    QBrush blackBrush;
    QFont labelFont; // the 40-pixel label font ("MS Sans Serif", mapped to Liberation Sans)
};

DrawingObjects MakeDrawingObjects();

// Catalogue entry 0: an upright resistor with four colour bands (red,
// magenta, yellow, brown), drawn by the main window itself. Leaves the
// outline pen and the grey brush selected.
void DrawColourBandResistor(QPainter& p, const DrawingObjects& o);

namespace Circuit {

// Each routine draws one fixed schematic at client-area coordinates inside
// (0, 0)-(300, 400). The caller has selected the outline pen, a brush (black
// in the main window, yellow in the calculator windows; it fills the
// junction dots) and the label font. Order: wires and dots, labels, then the
// routine selects the yellow brush itself and draws the resistor bodies, so
// the bodies cover wire ends; the yellow brush stays selected.
void DrawSingleResistor(QPainter& p, const DrawingObjects& o);          // entry 1
void DrawTwoInParallel(QPainter& p, const DrawingObjects& o);           // entry 2
void DrawTwoInSeries(QPainter& p, const DrawingObjects& o);             // entry 3
void DrawThreeInParallel(QPainter& p, const DrawingObjects& o);         // entry 4
void DrawThreeInSeries(QPainter& p, const DrawingObjects& o);           // entry 5
void DrawParallelSeries(QPainter& p, const DrawingObjects& o);          // entry 6
void DrawSeriesParallel(QPainter& p, const DrawingObjects& o);          // entry 7
void DrawDivider2(QPainter& p, const DrawingObjects& o);                // entry 8
void DrawDivider3(QPainter& p, const DrawingObjects& o);                // entry 9
void DrawDivider4Variant1(QPainter& p, const DrawingObjects& o);        // entry 10
void DrawDivider4Variant2(QPainter& p, const DrawingObjects& o);        // entry 11
void DrawDivider4Variant3(QPainter& p, const DrawingObjects& o);        // entry 12
void DrawNodeDivider3(QPainter& p, const DrawingObjects& o);            // entry 13
void DrawNodeDividerVariant1(QPainter& p, const DrawingObjects& o);     // entry 14
void DrawNodeDividerVariant2(QPainter& p, const DrawingObjects& o);     // entry 15
void DrawNodeDividerVariant3(QPainter& p, const DrawingObjects& o);     // entry 16
void DrawStarSingles(QPainter& p, const DrawingObjects& o);             // entry 17
void DrawStarSeriesFirst(QPainter& p, const DrawingObjects& o);         // entry 18
void DrawStarParallelFirst(QPainter& p, const DrawingObjects& o);       // entry 19
void DrawStarParallelPairs(QPainter& p, const DrawingObjects& o);       // entry 20
void DrawStarSeriesParallelPairs(QPainter& p, const DrawingObjects& o); // entry 21
void DrawStarSeriesPairs(QPainter& p, const DrawingObjects& o);         // entry 22
void DrawStarAllParallel(QPainter& p, const DrawingObjects& o);         // entry 23

using DrawRoutine = void (*)(QPainter&, const DrawingObjects&);
// The routine of catalogue entry 1..23; null for any other index.
DrawRoutine RoutineForEntry(int entry);

} // namespace Circuit
} // namespace ohmtrim
