#include "schematics/circuit.h"

#include "platform/fonts.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <cstddef>
#include <initializer_list>

namespace ohmtrim {

namespace {

// Every pen wider than one pixel gets round ends and round joins: the
// pictures were designed for such pens (the colour bands stop short of the
// body edge by the radius of their caps, and wire corners are round).
QPen SolidPen(const QColor& colour, int width) {
    return QPen(QBrush(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace

DrawingObjects MakeDrawingObjects() {
    DrawingObjects o;
    o.outlinePen = SolidPen(Qt::black, 4);
    o.redBandPen = SolidPen(QColor(255, 0, 0), 16);
    o.magentaBandPen = SolidPen(QColor(255, 0, 255), 16);
    o.yellowBandPen = SolidPen(QColor(255, 255, 0), 16);
    o.brownBandPen = SolidPen(QColor(128, 64, 0), 16);
    o.greyBrush = QBrush(QColor(128, 128, 128));
    o.yellowBrush = QBrush(QColor(255, 255, 0));
    o.blackBrush = QBrush(Qt::black);
    o.labelFont = UiFont(40);
    return o;
}

namespace Circuit {
namespace {

// A small list with a fixed capacity, so that a whole schematic can be one
// constexpr aggregate. Listing more items than fit is a compile error,
// because every table below is evaluated at compile time.
template <typename T, std::size_t Capacity> class FixedList {
public:
    constexpr FixedList() = default;
    constexpr FixedList(std::initializer_list<T> items) {
        for (const T& item : items)
            m_items[m_size++] = item;
    }
    constexpr const T* begin() const { return m_items.data(); }
    constexpr const T* end() const { return m_items.data() + m_size; }
    constexpr std::size_t size() const { return m_size; }

private:
    std::array<T, Capacity> m_items{};
    std::size_t m_size = 0;
};

struct Point {
    int x = 0;
    int y = 0;
};

// left, top, right, bottom as the pictures were laid out.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

constexpr std::size_t kMaxWirePoints = 6;
using Wire = FixedList<Point, kMaxWirePoints>;

struct Label {
    const char* text = "";
    Point at; // top-left corner of the text
};

struct Body {
    const char* name = "";
    Box box;
    Point labelAt;
};

struct Schematic {
    FixedList<Wire, 12> wires;
    FixedList<Point, 8> dots;  // junction centres
    FixedList<Body, 6> bodies; // in drawing order, each with its label
    FixedList<Label, 4> nodeLabels;
};

// Entry 1: single resistor R1.
constexpr Schematic kSingleResistor{
    .wires = {{{150, 30}, {150, 100}}, {{150, 300}, {150, 370}}},
    .dots = {},
    .bodies = {{"R1", {100, 100, 200, 300}, {50, 180}}},
    .nodeLabels = {},
};

// Entry 2: R1 // R2, lying one above the other.
constexpr Schematic kTwoInParallel{
    .wires = {{{20, 200}, {60, 200}},
              {{100, 150}, {60, 150}, {60, 250}, {100, 250}},
              {{280, 200}, {240, 200}},
              {{200, 150}, {240, 150}, {240, 250}, {200, 250}}},
    .dots = {{60, 200}, {240, 200}},
    .bodies = {{"R1", {100, 125, 200, 175}, {125, 85}}, {"R2", {100, 225, 200, 275}, {125, 185}}},
    .nodeLabels = {},
};

// Entry 3: R1 + R2 in one vertical line.
constexpr Schematic kTwoInSeries{
    .wires = {{{160, 20}, {160, 60}}, {{160, 160}, {160, 240}}, {{160, 340}, {160, 380}}},
    .dots = {},
    .bodies = {{"R1", {130, 60, 190, 160}, {80, 90}}, {"R2", {130, 240, 190, 340}, {80, 270}}},
    .nodeLabels = {},
};

// Entry 4: R1 // R2 // R3, lying one above the other.
constexpr Schematic kThreeInParallel{
    .wires = {{{20, 210}, {100, 210}},
              {{200, 210}, {280, 210}},
              {{100, 90}, {60, 90}, {60, 330}, {100, 330}},
              {{200, 90}, {240, 90}, {240, 330}, {200, 330}}},
    .dots = {{60, 210}, {240, 210}},
    .bodies = {{"R1", {100, 65, 200, 115}, {130, 20}},
               {"R2", {100, 185, 200, 235}, {130, 140}},
               {"R3", {100, 305, 200, 355}, {130, 260}}},
    .nodeLabels = {},
};

// Entry 5: R1 + R2 + R3 in one vertical line.
constexpr Schematic kThreeInSeries{
    .wires = {{{160, 30}, {160, 60}},
              {{160, 140}, {160, 160}},
              {{160, 240}, {160, 260}},
              {{160, 340}, {160, 370}}},
    .dots = {},
    .bodies = {{"R1", {140, 60, 180, 140}, {90, 80}},
               {"R2", {140, 160, 180, 240}, {90, 180}},
               {"R3", {140, 260, 180, 340}, {90, 280}}},
    .nodeLabels = {},
};

// Entry 6: R1 // (R2 + R3).
constexpr Schematic kParallelSeries{
    .wires = {{{100, 20}, {100, 150}},
              {{100, 40}, {240, 40}, {240, 60}},
              {{240, 160}, {240, 240}},
              {{100, 250}, {100, 380}},
              {{100, 360}, {240, 360}, {240, 340}}},
    .dots = {{100, 40}, {100, 360}},
    .bodies = {{"R1", {75, 150, 125, 250}, {20, 180}},
               {"R2", {215, 60, 265, 160}, {160, 90}},
               {"R3", {215, 240, 265, 340}, {160, 270}}},
    .nodeLabels = {},
};

// Entry 7: R1 + R2 // R3.
constexpr Schematic kSeriesParallel{
    .wires = {{{100, 20}, {100, 50}},
              {{100, 150}, {100, 230}},
              {{100, 190}, {240, 190}, {240, 230}},
              {{100, 330}, {100, 380}},
              {{100, 370}, {240, 370}, {240, 330}}},
    .dots = {{100, 190}, {100, 370}},
    .bodies = {{"R1", {75, 50, 125, 150}, {20, 80}},
               {"R2", {75, 230, 125, 330}, {20, 260}},
               {"R3", {215, 230, 265, 330}, {160, 260}}},
    .nodeLabels = {},
};

// Entry 8: divider R1 above R2; nodes U1 (input), U2 (output), U3 (foot).
constexpr Schematic kDivider2{
    .wires = {{{140, 30}, {140, 60}}, {{140, 160}, {140, 240}}, {{140, 340}, {140, 370}}},
    .dots = {},
    .bodies = {{"R1", {115, 60, 165, 160}, {180, 90}}, {"R2", {115, 240, 165, 340}, {180, 270}}},
    .nodeLabels = {{"U1", {60, 10}}, {"U2", {60, 180}}, {"U3", {60, 350}}},
};

// Entry 9: divider R1 // R2 above R3.
constexpr Schematic kDivider3{
    .wires = {{{170, 25}, {170, 45}},
              {{100, 45}, {100, 75}},
              {{100, 45}, {240, 45}, {240, 75}},
              {{100, 175}, {100, 205}},
              {{240, 175}, {240, 205}},
              {{100, 205}, {240, 205}},
              {{170, 205}, {170, 245}},
              {{170, 345}, {170, 375}}},
    .dots = {{170, 45}, {170, 205}},
    .bodies = {{"R1", {75, 75, 125, 175}, {20, 100}},
               {"R2", {215, 75, 265, 175}, {160, 100}},
               {"R3", {145, 245, 195, 345}, {90, 270}}},
    .nodeLabels = {{"U1", {120, 5}}, {"U2", {160, 160}}, {"U3", {180, 350}}},
};

// Entry 10: divider R1 // R2 // R3 above R4.
constexpr Schematic kDivider4Variant1{
    .wires = {{{85, 45}, {85, 75}},
              {{165, 25}, {165, 75}},
              {{85, 45}, {250, 45}, {250, 75}},
              {{85, 175}, {85, 220}},
              {{165, 175}, {165, 220}},
              {{250, 175}, {250, 220}},
              {{85, 220}, {250, 220}},
              {{165, 220}, {165, 245}},
              {{165, 345}, {165, 375}}},
    .dots = {{165, 45}, {165, 220}},
    .bodies = {{"R1", {60, 75, 110, 175}, {15, 100}},
               {"R2", {140, 75, 190, 175}, {100, 180}},
               {"R3", {225, 75, 275, 175}, {225, 5}},
               {"R4", {140, 245, 190, 345}, {85, 280}}},
    .nodeLabels = {{"U1", {115, 5}}, {"U2", {185, 180}}, {"U3", {175, 350}}},
};

// Entry 11: divider R1 // (R2 + R3) above R4.
constexpr Schematic kDivider4Variant2{
    .wires = {{{85, 25}, {85, 75}},
              {{165, 45}, {165, 75}},
              {{85, 45}, {165, 45}},
              {{85, 175}, {85, 220}, {255, 220}, {255, 175}},
              {{165, 220}, {165, 245}},
              {{165, 175}, {165, 200}, {210, 200}, {210, 45}, {255, 45}, {255, 75}},
              {{165, 345}, {165, 375}}},
    .dots = {{85, 45}, {165, 220}},
    .bodies = {{"R1", {60, 75, 110, 175}, {15, 100}},
               {"R2", {140, 75, 190, 175}, {140, 5}},
               {"R3", {230, 75, 280, 175}, {230, 5}},
               {"R4", {140, 245, 190, 345}, {90, 280}}},
    .nodeLabels = {{"U1", {35, 5}}, {"U2", {35, 220}}, {"U3", {110, 350}}},
};

// Entry 12: divider R1 // R2 above R3 // R4.
constexpr Schematic kDivider4Variant3{
    .wires = {{{100, 20}, {100, 60}},
              {{100, 40}, {240, 40}, {240, 60}},
              {{100, 160}, {100, 240}},
              {{240, 160}, {240, 240}},
              {{100, 200}, {240, 200}},
              {{100, 340}, {100, 380}},
              {{100, 360}, {240, 360}, {240, 340}}},
    .dots = {{100, 40}, {100, 200}, {240, 200}, {100, 360}},
    .bodies = {{"R1", {75, 60, 125, 160}, {20, 90}},
               {"R2", {215, 60, 265, 160}, {160, 90}},
               {"R3", {75, 240, 125, 340}, {20, 270}},
               {"R4", {215, 240, 265, 340}, {160, 270}}},
    .nodeLabels = {{"U1", {40, 10}}, {"U2", {40, 180}}, {"U3", {40, 350}}},
};

// Entry 13: node chain R1, R2, R3; nodes U1 to U4 from top to foot.
constexpr Schematic kNodeDivider3{
    .wires = {{{140, 30}, {140, 60}},
              {{140, 140}, {140, 160}},
              {{140, 240}, {140, 260}},
              {{140, 340}, {140, 370}}},
    .dots = {},
    .bodies = {{"R1", {120, 60, 160, 140}, {180, 80}},
               {"R2", {120, 160, 160, 240}, {180, 180}},
               {"R3", {120, 260, 160, 340}, {180, 280}}},
    .nodeLabels = {{"U1", {60, 20}}, {"U2", {60, 130}}, {"U3", {60, 230}}, {"U4", {60, 340}}},
};

// Entry 14: node chain R1, R2, R3 // R4.
constexpr Schematic kNodeDividerVariant1{
    .wires = {{{100, 15}, {120, 15}, {120, 40}},
              {{120, 120}, {120, 160}},
              {{120, 240}, {120, 280}},
              {{120, 260}, {230, 260}, {230, 280}},
              {{120, 360}, {120, 380}},
              {{230, 360}, {230, 380}},
              {{100, 380}, {230, 380}}},
    .dots = {{120, 260}, {120, 380}},
    .bodies = {{"R1", {100, 40, 140, 120}, {155, 60}},
               {"R2", {100, 160, 140, 240}, {155, 180}},
               {"R3", {100, 280, 140, 360}, {45, 300}},
               {"R4", {210, 280, 250, 360}, {155, 300}}},
    .nodeLabels = {{"U1", {45, 0}}, {"U2", {45, 125}}, {"U3", {45, 245}}, {"U4", {45, 355}}},
};

// Entry 15: node chain R1, R2 // R3, R4 // R5.
constexpr Schematic kNodeDividerVariant2{
    .wires = {{{110, 15}, {130, 15}, {130, 40}},
              {{130, 120}, {130, 160}},
              {{130, 140}, {240, 140}, {240, 160}},
              {{130, 240}, {130, 280}},
              {{240, 240}, {240, 280}},
              {{130, 260}, {240, 260}},
              {{130, 360}, {130, 380}},
              {{240, 360}, {240, 380}},
              {{110, 380}, {240, 380}}},
    .dots = {{130, 140}, {130, 260}, {240, 260}, {130, 380}},
    .bodies = {{"R1", {110, 40, 150, 120}, {55, 60}},
               {"R2", {110, 160, 150, 240}, {55, 180}},
               {"R3", {220, 160, 260, 240}, {165, 180}},
               {"R4", {110, 280, 150, 360}, {55, 300}},
               {"R5", {220, 280, 260, 360}, {165, 300}}},
    .nodeLabels = {{"U1", {15, 0}}, {"U2", {15, 125}}, {"U3", {15, 245}}, {"U4", {15, 355}}},
};

// Entry 16: node chain R1 // R2, R3 // R4, R5 // R6.
constexpr Schematic kNodeDividerVariant3{
    .wires = {{{130, 15}, {130, 40}},
              {{110, 15}, {240, 15}, {240, 40}},
              {{130, 120}, {130, 160}},
              {{240, 120}, {240, 160}},
              {{130, 140}, {240, 140}},
              {{130, 240}, {130, 280}},
              {{240, 240}, {240, 280}},
              {{130, 260}, {240, 260}},
              {{130, 360}, {130, 380}},
              {{240, 360}, {240, 380}},
              {{110, 380}, {240, 380}}},
    .dots = {{130, 15}, {130, 140}, {240, 140}, {130, 260}, {240, 260}, {130, 380}},
    .bodies = {{"R1", {110, 40, 150, 120}, {55, 60}},
               {"R2", {220, 40, 260, 120}, {165, 60}},
               {"R3", {110, 160, 150, 240}, {55, 180}},
               {"R4", {220, 160, 260, 240}, {165, 180}},
               {"R5", {110, 280, 150, 360}, {55, 300}},
               {"R6", {220, 280, 260, 360}, {165, 300}}},
    .nodeLabels = {{"U1", {15, 0}}, {"U2", {15, 125}}, {"U3", {15, 245}}, {"U4", {15, 355}}},
};

// Entry 17: star R1, R2, R3: branch 2 (R2) up to U2, branch 3 (R3) down to U3, branch 1 (R1) right
// to U1; U0 at the star point.
constexpr Schematic kStarSingles{
    .wires = {{{50, 30}, {50, 60}},     // U2 terminal to the head of R2
              {{50, 140}, {50, 260}},   // foot of R2 through the star point to the head of R3
              {{50, 230}, {110, 230}},  // star point to the left end of R1
              {{190, 230}, {250, 230}}, // right end of R1 to the U1 terminal
              {{50, 340}, {50, 370}}},  // foot of R3 to the U3 terminal
    .dots = {{50, 230}},                // the star point
    .bodies = {{"R2", {30, 60, 70, 140}, {85, 80}},      // upright above the star point
               {"R1", {110, 210, 190, 250}, {130, 165}}, // lying to the right
               {"R3", {30, 260, 70, 340}, {85, 280}}},   // upright below
    .nodeLabels = {{"U0", {60, 185}}, {"U1", {210, 185}}, {"U2", {70, 15}}, {"U3", {70, 350}}},
};

// Entry 18: star R1 + R2, R3, R4.
constexpr Schematic kStarSeriesFirst{
    .wires = {{{50, 30}, {50, 60}},
              {{50, 140}, {50, 260}},
              {{220, 65}, {220, 95}},
              {{190, 220}, {220, 220}, {220, 175}},
              {{50, 220}, {110, 220}},
              {{50, 340}, {50, 370}}},
    .dots = {{50, 220}},
    .bodies = {{"R3", {30, 60, 70, 140}, {82, 80}},
               {"R1", {200, 95, 240, 175}, {150, 110}},
               {"R2", {110, 200, 190, 240}, {130, 155}},
               {"R4", {30, 260, 70, 340}, {82, 280}}},
    .nodeLabels = {{"U0", {60, 155}}, {"U1", {235, 55}}, {"U2", {60, 15}}, {"U3", {60, 350}}},
};

// Entry 19: star R1 // R2, R3, R4.
constexpr Schematic kStarParallelFirst{
    .wires = {{{50, 30}, {50, 60}},
              {{50, 140}, {50, 260}},
              {{50, 170}, {110, 170}},
              {{190, 170}, {215, 170}, {215, 230}, {190, 230}},
              {{210, 200}, {230, 200}},
              {{50, 230}, {110, 230}},
              {{50, 340}, {50, 370}}},
    .dots = {{50, 170}, {215, 200}, {50, 230}},
    .bodies = {{"R3", {30, 60, 70, 140}, {82, 80}},
               {"R1", {110, 150, 190, 190}, {130, 105}},
               {"R2", {110, 210, 190, 250}, {130, 255}},
               {"R4", {30, 260, 70, 340}, {82, 280}}},
    .nodeLabels = {{"U0", {60, 180}}, {"U1", {245, 180}}, {"U2", {70, 15}}, {"U3", {70, 350}}},
};

// Entry 20: star R1, R2 // R3, R4 // R5.
constexpr Schematic kStarParallelPairs{
    .wires = {{{135, 25}, {135, 70}},
              {{135, 50}, {75, 50}, {75, 70}},
              {{75, 150}, {75, 240}},
              {{135, 150}, {135, 240}},
              {{75, 195}, {175, 195}},
              {{245, 195}, {265, 195}, {265, 175}},
              {{75, 320}, {75, 340}, {135, 340}},
              {{135, 320}, {135, 360}}},
    .dots = {{135, 50}, {75, 195}, {135, 195}, {135, 340}},
    .bodies = {{"R2", {55, 70, 95, 150}, {5, 90}},
               {"R3", {115, 70, 155, 150}, {165, 90}},
               {"R1", {175, 175, 245, 215}, {195, 130}},
               {"R4", {55, 240, 95, 320}, {5, 260}},
               {"R5", {115, 240, 155, 320}, {165, 260}}},
    .nodeLabels = {{"U0", {20, 175}}, {"U1", {250, 130}}, {"U2", {145, 5}}, {"U3", {145, 355}}},
};

// Entry 21: star R1, R2 + R3, R4 // R5.
constexpr Schematic kStarSeriesParallelPairs{
    .wires = {{{75, 30}, {75, 70}},
              {{75, 150}, {75, 170}, {115, 170}, {115, 50}, {155, 50}, {155, 70}},
              {{155, 150}, {155, 240}},
              {{75, 240}, {75, 195}, {175, 195}},
              {{245, 195}, {265, 195}, {265, 175}},
              {{75, 320}, {75, 360}},
              {{75, 340}, {155, 340}, {155, 320}}},
    .dots = {{155, 195}, {75, 340}},
    .bodies = {{"R2", {55, 70, 95, 150}, {5, 90}},
               {"R3", {135, 70, 175, 150}, {185, 90}},
               {"R1", {175, 175, 245, 215}, {195, 130}},
               {"R4", {55, 240, 95, 320}, {5, 260}},
               {"R5", {135, 240, 175, 320}, {185, 260}}},
    .nodeLabels = {{"U0", {20, 195}}, {"U1", {250, 130}}, {"U2", {20, 20}}, {"U3", {20, 335}}},
};

// Entry 22: star R1, R2 + R3, R4 + R5.
constexpr Schematic kStarSeriesPairs{
    .wires = {{{75, 30}, {75, 70}},
              {{75, 150}, {75, 170}, {115, 170}, {115, 50}, {155, 50}, {155, 70}},
              {{155, 150}, {155, 240}},
              {{155, 195}, {240, 195}},
              {{245, 195}, {265, 195}, {265, 175}},
              {{75, 320}, {75, 360}},
              {{75, 240}, {75, 220}, {115, 220}, {115, 340}, {155, 340}, {155, 320}}},
    .dots = {{155, 195}},
    .bodies = {{"R2", {55, 70, 95, 150}, {5, 90}},
               {"R3", {135, 70, 175, 150}, {185, 90}},
               {"R1", {175, 175, 245, 215}, {195, 130}},
               {"R4", {55, 240, 95, 320}, {5, 260}},
               {"R5", {135, 240, 175, 320}, {185, 260}}},
    .nodeLabels = {{"U0", {80, 178}}, {"U1", {250, 130}}, {"U2", {20, 20}}, {"U3", {20, 335}}},
};

// Entry 23: star R1 // R2, R3 // R4, R5 // R6.
constexpr Schematic kStarAllParallel{
    .wires = {{{135, 25}, {135, 70}},
              {{135, 50}, {75, 50}, {75, 70}},
              {{75, 150}, {75, 240}},
              {{135, 150}, {135, 240}},
              {{75, 195}, {135, 195}},
              {{135, 170}, {175, 170}},
              {{245, 170}, {265, 170}},
              {{135, 220}, {175, 220}},
              {{245, 220}, {265, 220}, {265, 150}},
              {{75, 320}, {75, 340}, {135, 340}},
              {{135, 320}, {135, 360}}},
    .dots = {{135, 50}, {75, 195}, {135, 195}, {135, 170}, {135, 220}, {135, 340}, {265, 170}},
    .bodies = {{"R3", {55, 70, 95, 150}, {5, 70}},
               {"R4", {115, 70, 155, 150}, {165, 70}},
               {"R1", {175, 150, 245, 190}, {195, 110}},
               {"R2", {175, 200, 245, 240}, {195, 240}},
               {"R5", {55, 240, 95, 320}, {5, 270}},
               {"R6", {115, 240, 155, 320}, {165, 270}}},
    .nodeLabels = {{"U0", {20, 175}}, {"U1", {250, 110}}, {"U2", {145, 5}}, {"U3", {145, 355}}},
};
void DrawLabel(QPainter& p, const char* text, Point at, int ascent) {
    // The label's point is the top-left corner of the text, while QPainter
    // places text on its baseline.
    p.drawText(QPoint(at.x, at.y + ascent), QString::fromLatin1(text));
}

// Draws one schematic with the pen, brush and font the caller selected:
// wires, then the junction dots (after the wires, so that a dot's fill shows
// on top of the wire through it), then the labels; then the yellow brush is
// selected and stays selected, and the bodies are drawn last so that they
// cover the wire ends reaching into them.
//
// Rectangles and ellipses use QRect(left, top, right - left, bottom - top):
// the outline is centred on the listed edges, so the right and bottom
// outline sits one pixel further out than the classic GDI shapes, which
// stop one pixel short of the right and bottom coordinates.
void Paint(QPainter& p, const DrawingObjects& o, const Schematic& s) {
    // Lines stay crisp; text keeps whatever text antialiasing the caller set.
    const bool wasAntialiased = p.testRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::Antialiasing, false);

    for (const Wire& wire : s.wires) {
        std::array<QPoint, kMaxWirePoints> points;
        int count = 0;
        for (const Point& pt : wire)
            points[count++] = QPoint(pt.x, pt.y);
        p.drawPolyline(points.data(), count);
    }
    for (const Point& dot : s.dots)
        p.drawEllipse(QRect(dot.x - 3, dot.y - 3, 6, 6));

    const int ascent = p.fontMetrics().ascent();
    for (const Body& body : s.bodies)
        DrawLabel(p, body.name, body.labelAt, ascent);
    for (const Label& label : s.nodeLabels)
        DrawLabel(p, label.text, label.at, ascent);

    p.setBrush(o.yellowBrush);
    for (const Body& body : s.bodies) {
        const Box& b = body.box;
        p.drawRect(QRect(b.left, b.top, b.right - b.left, b.bottom - b.top));
    }

    p.setRenderHint(QPainter::Antialiasing, wasAntialiased);
}

constexpr std::array<DrawRoutine, 24> kRoutines = {
    nullptr,
    DrawSingleResistor,
    DrawTwoInParallel,
    DrawTwoInSeries,
    DrawThreeInParallel,
    DrawThreeInSeries,
    DrawParallelSeries,
    DrawSeriesParallel,
    DrawDivider2,
    DrawDivider3,
    DrawDivider4Variant1,
    DrawDivider4Variant2,
    DrawDivider4Variant3,
    DrawNodeDivider3,
    DrawNodeDividerVariant1,
    DrawNodeDividerVariant2,
    DrawNodeDividerVariant3,
    DrawStarSingles,
    DrawStarSeriesFirst,
    DrawStarParallelFirst,
    DrawStarParallelPairs,
    DrawStarSeriesParallelPairs,
    DrawStarSeriesPairs,
    DrawStarAllParallel,
};

} // namespace

void DrawSingleResistor(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kSingleResistor);
}

void DrawTwoInParallel(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kTwoInParallel);
}

void DrawTwoInSeries(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kTwoInSeries);
}

void DrawThreeInParallel(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kThreeInParallel);
}

void DrawThreeInSeries(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kThreeInSeries);
}

void DrawParallelSeries(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kParallelSeries);
}

void DrawSeriesParallel(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kSeriesParallel);
}

void DrawDivider2(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kDivider2);
}

void DrawDivider3(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kDivider3);
}

void DrawDivider4Variant1(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kDivider4Variant1);
}

void DrawDivider4Variant2(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kDivider4Variant2);
}

void DrawDivider4Variant3(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kDivider4Variant3);
}

void DrawNodeDivider3(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kNodeDivider3);
}

void DrawNodeDividerVariant1(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kNodeDividerVariant1);
}

void DrawNodeDividerVariant2(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kNodeDividerVariant2);
}

void DrawNodeDividerVariant3(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kNodeDividerVariant3);
}

void DrawStarSingles(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kStarSingles);
}

void DrawStarSeriesFirst(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kStarSeriesFirst);
}

void DrawStarParallelFirst(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kStarParallelFirst);
}

void DrawStarParallelPairs(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kStarParallelPairs);
}

void DrawStarSeriesParallelPairs(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kStarSeriesParallelPairs);
}

void DrawStarSeriesPairs(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kStarSeriesPairs);
}

void DrawStarAllParallel(QPainter& p, const DrawingObjects& o) {
    Paint(p, o, kStarAllParallel);
}

DrawRoutine RoutineForEntry(int entry) {
    if (entry < 1 || entry >= static_cast<int>(kRoutines.size()))
        return nullptr;
    return kRoutines[static_cast<std::size_t>(entry)];
}

} // namespace Circuit
} // namespace ohmtrim
