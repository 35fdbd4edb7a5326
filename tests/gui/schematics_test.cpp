#include "schematics/circuit.h"

#include "platform/fonts.h"

#include <QColor>
#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace ohmtrim {
namespace {

// The pictures as they were laid out: every coordinate below is a point the
// drawing must hit, restated here so that the rendered pixels are checked
// against it.
struct Pt {
    int x;
    int y;
};
struct Box {
    int left, top, right, bottom;
};
struct BodyRow {
    const char* name;
    Box box;
    Pt label;
};
struct LabelRow {
    const char* text;
    Pt at;
};
struct Picture {
    int entry;
    std::vector<BodyRow> bodies;
    std::vector<std::vector<Pt>> wires; // polylines
    std::vector<Pt> dots;
    std::vector<LabelRow> nodeLabels;
};

const std::vector<Picture>& Pictures() {
    static const std::vector<Picture> pictures = {
        {1,
         {{"R1", {100, 100, 200, 300}, {50, 180}}},
         {{{150, 30}, {150, 100}}, {{150, 300}, {150, 370}}},
         {},
         {}},
        {2,
         {{"R1", {100, 125, 200, 175}, {125, 85}}, {"R2", {100, 225, 200, 275}, {125, 185}}},
         {{{20, 200}, {60, 200}},
          {{100, 150}, {60, 150}, {60, 250}, {100, 250}},
          {{280, 200}, {240, 200}},
          {{200, 150}, {240, 150}, {240, 250}, {200, 250}}},
         {{60, 200}, {240, 200}},
         {}},
        {3,
         {{"R1", {130, 60, 190, 160}, {80, 90}}, {"R2", {130, 240, 190, 340}, {80, 270}}},
         {{{160, 20}, {160, 60}}, {{160, 160}, {160, 240}}, {{160, 340}, {160, 380}}},
         {},
         {}},
        {4,
         {{"R1", {100, 65, 200, 115}, {130, 20}},
          {"R2", {100, 185, 200, 235}, {130, 140}},
          {"R3", {100, 305, 200, 355}, {130, 260}}},
         {{{20, 210}, {100, 210}},
          {{200, 210}, {280, 210}},
          {{100, 90}, {60, 90}, {60, 330}, {100, 330}},
          {{200, 90}, {240, 90}, {240, 330}, {200, 330}}},
         {{60, 210}, {240, 210}},
         {}},
        {5,
         {{"R1", {140, 60, 180, 140}, {90, 80}},
          {"R2", {140, 160, 180, 240}, {90, 180}},
          {"R3", {140, 260, 180, 340}, {90, 280}}},
         {{{160, 30}, {160, 60}},
          {{160, 140}, {160, 160}},
          {{160, 240}, {160, 260}},
          {{160, 340}, {160, 370}}},
         {},
         {}},
        {6,
         {{"R1", {75, 150, 125, 250}, {20, 180}},
          {"R2", {215, 60, 265, 160}, {160, 90}},
          {"R3", {215, 240, 265, 340}, {160, 270}}},
         {{{100, 20}, {100, 150}},
          {{100, 40}, {240, 40}, {240, 60}},
          {{240, 160}, {240, 240}},
          {{100, 250}, {100, 380}},
          {{100, 360}, {240, 360}, {240, 340}}},
         {{100, 40}, {100, 360}},
         {}},
        {7,
         {{"R1", {75, 50, 125, 150}, {20, 80}},
          {"R2", {75, 230, 125, 330}, {20, 260}},
          {"R3", {215, 230, 265, 330}, {160, 260}}},
         {{{100, 20}, {100, 50}},
          {{100, 150}, {100, 230}},
          {{100, 190}, {240, 190}, {240, 230}},
          {{100, 330}, {100, 380}},
          {{100, 370}, {240, 370}, {240, 330}}},
         {{100, 190}, {100, 370}},
         {}},
        {8,
         {{"R1", {115, 60, 165, 160}, {180, 90}}, {"R2", {115, 240, 165, 340}, {180, 270}}},
         {{{140, 30}, {140, 60}}, {{140, 160}, {140, 240}}, {{140, 340}, {140, 370}}},
         {},
         {{"U1", {60, 10}}, {"U2", {60, 180}}, {"U3", {60, 350}}}},
        {9,
         {{"R1", {75, 75, 125, 175}, {20, 100}},
          {"R2", {215, 75, 265, 175}, {160, 100}},
          {"R3", {145, 245, 195, 345}, {90, 270}}},
         {{{170, 25}, {170, 45}},
          {{100, 45}, {100, 75}},
          {{100, 45}, {240, 45}, {240, 75}},
          {{100, 175}, {100, 205}},
          {{240, 175}, {240, 205}},
          {{100, 205}, {240, 205}},
          {{170, 205}, {170, 245}},
          {{170, 345}, {170, 375}}},
         {{170, 45}, {170, 205}},
         {{"U1", {120, 5}}, {"U2", {160, 160}}, {"U3", {180, 350}}}},
        {10,
         {{"R1", {60, 75, 110, 175}, {15, 100}},
          {"R2", {140, 75, 190, 175}, {100, 180}},
          {"R3", {225, 75, 275, 175}, {225, 5}},
          {"R4", {140, 245, 190, 345}, {85, 280}}},
         {{{85, 45}, {85, 75}},
          {{165, 25}, {165, 75}},
          {{85, 45}, {250, 45}, {250, 75}},
          {{85, 175}, {85, 220}},
          {{165, 175}, {165, 220}},
          {{250, 175}, {250, 220}},
          {{85, 220}, {250, 220}},
          {{165, 220}, {165, 245}},
          {{165, 345}, {165, 375}}},
         {{165, 45}, {165, 220}},
         {{"U1", {115, 5}}, {"U2", {185, 180}}, {"U3", {175, 350}}}},
        {11,
         {{"R1", {60, 75, 110, 175}, {15, 100}},
          {"R2", {140, 75, 190, 175}, {140, 5}},
          {"R3", {230, 75, 280, 175}, {230, 5}},
          {"R4", {140, 245, 190, 345}, {90, 280}}},
         {{{85, 25}, {85, 75}},
          {{165, 45}, {165, 75}},
          {{85, 45}, {165, 45}},
          {{85, 175}, {85, 220}, {255, 220}, {255, 175}},
          {{165, 220}, {165, 245}},
          {{165, 175}, {165, 200}, {210, 200}, {210, 45}, {255, 45}, {255, 75}},
          {{165, 345}, {165, 375}}},
         {{85, 45}, {165, 220}},
         {{"U1", {35, 5}}, {"U2", {35, 220}}, {"U3", {110, 350}}}},
        {12,
         {{"R1", {75, 60, 125, 160}, {20, 90}},
          {"R2", {215, 60, 265, 160}, {160, 90}},
          {"R3", {75, 240, 125, 340}, {20, 270}},
          {"R4", {215, 240, 265, 340}, {160, 270}}},
         {{{100, 20}, {100, 60}},
          {{100, 40}, {240, 40}, {240, 60}},
          {{100, 160}, {100, 240}},
          {{240, 160}, {240, 240}},
          {{100, 200}, {240, 200}},
          {{100, 340}, {100, 380}},
          {{100, 360}, {240, 360}, {240, 340}}},
         {{100, 40}, {100, 200}, {240, 200}, {100, 360}},
         {{"U1", {40, 10}}, {"U2", {40, 180}}, {"U3", {40, 350}}}},
        {13,
         {{"R1", {120, 60, 160, 140}, {180, 80}},
          {"R2", {120, 160, 160, 240}, {180, 180}},
          {"R3", {120, 260, 160, 340}, {180, 280}}},
         {{{140, 30}, {140, 60}},
          {{140, 140}, {140, 160}},
          {{140, 240}, {140, 260}},
          {{140, 340}, {140, 370}}},
         {},
         {{"U1", {60, 20}}, {"U2", {60, 130}}, {"U3", {60, 230}}, {"U4", {60, 340}}}},
        {14,
         {{"R1", {100, 40, 140, 120}, {155, 60}},
          {"R2", {100, 160, 140, 240}, {155, 180}},
          {"R3", {100, 280, 140, 360}, {45, 300}},
          {"R4", {210, 280, 250, 360}, {155, 300}}},
         {{{100, 15}, {120, 15}, {120, 40}},
          {{120, 120}, {120, 160}},
          {{120, 240}, {120, 280}},
          {{120, 260}, {230, 260}, {230, 280}},
          {{120, 360}, {120, 380}},
          {{230, 360}, {230, 380}},
          {{100, 380}, {230, 380}}},
         {{120, 260}, {120, 380}},
         {{"U1", {45, 0}}, {"U2", {45, 125}}, {"U3", {45, 245}}, {"U4", {45, 355}}}},
        {15,
         {{"R1", {110, 40, 150, 120}, {55, 60}},
          {"R2", {110, 160, 150, 240}, {55, 180}},
          {"R3", {220, 160, 260, 240}, {165, 180}},
          {"R4", {110, 280, 150, 360}, {55, 300}},
          {"R5", {220, 280, 260, 360}, {165, 300}}},
         {{{110, 15}, {130, 15}, {130, 40}},
          {{130, 120}, {130, 160}},
          {{130, 140}, {240, 140}, {240, 160}},
          {{130, 240}, {130, 280}},
          {{240, 240}, {240, 280}},
          {{130, 260}, {240, 260}},
          {{130, 360}, {130, 380}},
          {{240, 360}, {240, 380}},
          {{110, 380}, {240, 380}}},
         {{130, 140}, {130, 260}, {240, 260}, {130, 380}},
         {{"U1", {15, 0}}, {"U2", {15, 125}}, {"U3", {15, 245}}, {"U4", {15, 355}}}},
        {16,
         {{"R1", {110, 40, 150, 120}, {55, 60}},
          {"R2", {220, 40, 260, 120}, {165, 60}},
          {"R3", {110, 160, 150, 240}, {55, 180}},
          {"R4", {220, 160, 260, 240}, {165, 180}},
          {"R5", {110, 280, 150, 360}, {55, 300}},
          {"R6", {220, 280, 260, 360}, {165, 300}}},
         {{{130, 15}, {130, 40}},
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
         {{130, 15}, {130, 140}, {240, 140}, {130, 260}, {240, 260}, {130, 380}},
         {{"U1", {15, 0}}, {"U2", {15, 125}}, {"U3", {15, 245}}, {"U4", {15, 355}}}},
        {17,
         {{"R2", {30, 60, 70, 140}, {85, 80}},
          {"R1", {110, 210, 190, 250}, {130, 165}},
          {"R3", {30, 260, 70, 340}, {85, 280}}},
         {{{50, 30}, {50, 60}},
          {{50, 140}, {50, 260}},
          {{50, 230}, {110, 230}},
          {{190, 230}, {250, 230}},
          {{50, 340}, {50, 370}}},
         {{50, 230}},
         {{"U0", {60, 185}}, {"U1", {210, 185}}, {"U2", {70, 15}}, {"U3", {70, 350}}}},
        {18,
         {{"R3", {30, 60, 70, 140}, {82, 80}},
          {"R1", {200, 95, 240, 175}, {150, 110}},
          {"R2", {110, 200, 190, 240}, {130, 155}},
          {"R4", {30, 260, 70, 340}, {82, 280}}},
         {{{50, 30}, {50, 60}},
          {{50, 140}, {50, 260}},
          {{220, 65}, {220, 95}},
          {{190, 220}, {220, 220}, {220, 175}},
          {{50, 220}, {110, 220}},
          {{50, 340}, {50, 370}}},
         {{50, 220}},
         {{"U0", {60, 155}}, {"U1", {235, 55}}, {"U2", {60, 15}}, {"U3", {60, 350}}}},
        {19,
         {{"R3", {30, 60, 70, 140}, {82, 80}},
          {"R1", {110, 150, 190, 190}, {130, 105}},
          {"R2", {110, 210, 190, 250}, {130, 255}},
          {"R4", {30, 260, 70, 340}, {82, 280}}},
         {{{50, 30}, {50, 60}},
          {{50, 140}, {50, 260}},
          {{50, 170}, {110, 170}},
          {{190, 170}, {215, 170}, {215, 230}, {190, 230}},
          {{210, 200}, {230, 200}},
          {{50, 230}, {110, 230}},
          {{50, 340}, {50, 370}}},
         {{50, 170}, {215, 200}, {50, 230}},
         {{"U0", {60, 180}}, {"U1", {245, 180}}, {"U2", {70, 15}}, {"U3", {70, 350}}}},
        {20,
         {{"R2", {55, 70, 95, 150}, {5, 90}},
          {"R3", {115, 70, 155, 150}, {165, 90}},
          {"R1", {175, 175, 245, 215}, {195, 130}},
          {"R4", {55, 240, 95, 320}, {5, 260}},
          {"R5", {115, 240, 155, 320}, {165, 260}}},
         {{{135, 25}, {135, 70}},
          {{135, 50}, {75, 50}, {75, 70}},
          {{75, 150}, {75, 240}},
          {{135, 150}, {135, 240}},
          {{75, 195}, {175, 195}},
          {{245, 195}, {265, 195}, {265, 175}},
          {{75, 320}, {75, 340}, {135, 340}},
          {{135, 320}, {135, 360}}},
         {{135, 50}, {75, 195}, {135, 195}, {135, 340}},
         {{"U0", {20, 175}}, {"U1", {250, 130}}, {"U2", {145, 5}}, {"U3", {145, 355}}}},
        {21,
         {{"R2", {55, 70, 95, 150}, {5, 90}},
          {"R3", {135, 70, 175, 150}, {185, 90}},
          {"R1", {175, 175, 245, 215}, {195, 130}},
          {"R4", {55, 240, 95, 320}, {5, 260}},
          {"R5", {135, 240, 175, 320}, {185, 260}}},
         {{{75, 30}, {75, 70}},
          {{75, 150}, {75, 170}, {115, 170}, {115, 50}, {155, 50}, {155, 70}},
          {{155, 150}, {155, 240}},
          {{75, 240}, {75, 195}, {175, 195}},
          {{245, 195}, {265, 195}, {265, 175}},
          {{75, 320}, {75, 360}},
          {{75, 340}, {155, 340}, {155, 320}}},
         {{155, 195}, {75, 340}},
         {{"U0", {20, 195}}, {"U1", {250, 130}}, {"U2", {20, 20}}, {"U3", {20, 335}}}},
        {22,
         {{"R2", {55, 70, 95, 150}, {5, 90}},
          {"R3", {135, 70, 175, 150}, {185, 90}},
          {"R1", {175, 175, 245, 215}, {195, 130}},
          {"R4", {55, 240, 95, 320}, {5, 260}},
          {"R5", {135, 240, 175, 320}, {185, 260}}},
         {{{75, 30}, {75, 70}},
          {{75, 150}, {75, 170}, {115, 170}, {115, 50}, {155, 50}, {155, 70}},
          {{155, 150}, {155, 240}},
          {{155, 195}, {240, 195}},
          {{245, 195}, {265, 195}, {265, 175}},
          {{75, 320}, {75, 360}},
          {{75, 240}, {75, 220}, {115, 220}, {115, 340}, {155, 340}, {155, 320}}},
         {{155, 195}},
         {{"U0", {80, 178}}, {"U1", {250, 130}}, {"U2", {20, 20}}, {"U3", {20, 335}}}},
        {23,
         {{"R3", {55, 70, 95, 150}, {5, 70}},
          {"R4", {115, 70, 155, 150}, {165, 70}},
          {"R1", {175, 150, 245, 190}, {195, 110}},
          {"R2", {175, 200, 245, 240}, {195, 240}},
          {"R5", {55, 240, 95, 320}, {5, 270}},
          {"R6", {115, 240, 155, 320}, {165, 270}}},
         {{{135, 25}, {135, 70}},
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
         {{135, 50}, {75, 195}, {135, 195}, {135, 170}, {135, 220}, {135, 340}, {265, 170}},
         {{"U0", {20, 175}}, {"U1", {250, 110}}, {"U2", {145, 5}}, {"U3", {145, 355}}}},
    };
    return pictures;
}

// The program maps the classic UI family at start; the pictures are checked
// with the same label font, whichever test runs first.
class FontSubstitution : public testing::Environment {
public:
    void SetUp() override { InstallFontSubstitution(); }
};
testing::Environment* const kFontSubstitution =
    testing::AddGlobalTestEnvironment(new FontSubstitution);

enum class Mode { MainWindow, Calculator };

const char* ModeName(Mode m) {
    return m == Mode::MainWindow ? "main window" : "calculator window";
}

// Pictures are rendered with a margin around the 300 x 400 drawing area so
// that anything painted outside it can be seen.
constexpr int kMargin = 20;
constexpr int kWidth = 300;
constexpr int kHeight = 400;

// Colours without alpha, as Canvas::At reports them.
constexpr QRgb Rgb(int r, int g, int b) {
    return static_cast<QRgb>((r << 16) | (g << 8) | b);
}
constexpr QRgb kWhite = Rgb(255, 255, 255);
constexpr QRgb kBlack = Rgb(0, 0, 0);
constexpr QRgb kYellow = Rgb(255, 255, 0);

class Canvas {
public:
    Canvas(int entry, Mode mode)
        : m_image(kWidth + 2 * kMargin, kHeight + 2 * kMargin, QImage::Format_RGB32) {
        m_image.fill(Qt::white);
        const DrawingObjects o = MakeDrawingObjects();
        QPainter p(&m_image);
        p.translate(kMargin, kMargin);
        // What the windows select before calling a routine.
        p.setPen(o.outlinePen);
        p.setBrush(mode == Mode::MainWindow ? o.blackBrush : o.yellowBrush);
        p.setFont(o.labelFont);
        p.setBackgroundMode(Qt::TransparentMode);
        if (entry == 0)
            DrawColourBandResistor(p, o);
        else
            Circuit::RoutineForEntry(entry)(p, o);
    }

    // Drawing coordinates; the margin may be addressed with negative ones.
    QRgb At(int x, int y) const { return m_image.pixel(x + kMargin, y + kMargin) & 0xffffffu; }
    bool Dark(int x, int y) const { return qGray(At(x, y)) < 128; }
    QImage DrawingArea() const { return m_image.copy(kMargin, kMargin, kWidth, kHeight); }

private:
    QImage m_image;
};

std::string Where(const Picture& pic, Mode mode) {
    return "entry " + std::to_string(pic.entry) + ", " + ModeName(mode);
}

std::string Hex(QRgb c) {
    return QString::asprintf("#%06x", c & 0xffffffu).toStdString();
}

// Distance from the centre of pixel (px, py) to the segment a-b.
double DistanceToSegment(int px, int py, Pt a, Pt b) {
    const double x = px + 0.5, y = py + 0.5;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 == 0 ? 0 : ((x - a.x) * dx + (y - a.y) * dy) / len2;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

bool InsideBody(const Picture& pic, int x, int y, int grow) {
    for (const BodyRow& b : pic.bodies)
        if (x >= b.box.left - grow && x < b.box.right + grow && y >= b.box.top - grow &&
            y < b.box.bottom + grow)
            return true;
    return false;
}

bool NearDot(const Picture& pic, int x, int y, int reach) {
    for (const Pt& d : pic.dots)
        if (std::abs(x - d.x) <= reach && std::abs(y - d.y) <= reach)
            return true;
    return false;
}

// Ink that wires, dots and bodies account for; what is left must be text.
bool ExplainedByShapes(const Picture& pic, int x, int y) {
    if (InsideBody(pic, x, y, 3) || NearDot(pic, x, y, 6))
        return true;
    for (const auto& wire : pic.wires)
        for (std::size_t i = 1; i < wire.size(); ++i)
            if (DistanceToSegment(x, y, wire[i - 1], wire[i]) <= 3.0)
                return true;
    return false;
}

std::vector<LabelRow> AllLabels(const Picture& pic) {
    std::vector<LabelRow> labels = pic.nodeLabels;
    for (const BodyRow& b : pic.bodies)
        labels.push_back({b.name, b.label});
    return labels;
}

// Where a label's ink may lie: its point is the top-left corner of two
// characters of the 40-pixel label cell.
constexpr int kLabelBoxWidth = 48;
constexpr int kLabelBoxHeight = 40;

bool InLabelBox(const LabelRow& l, int x, int y) {
    return x >= l.at.x && x < l.at.x + kLabelBoxWidth && y >= l.at.y &&
           y < l.at.y + kLabelBoxHeight;
}

const Mode kModes[] = {Mode::MainWindow, Mode::Calculator};

// Gathers the pixels that break an expectation, so that a broken picture
// reports how many there are and where the first one is, not thousands of
// lines.
class Misses {
public:
    void Add(int x, int y, const std::string& detail = "") {
        if (m_count++ == 0)
            m_first = "first at (" + std::to_string(x) + ", " + std::to_string(y) + ") " + detail;
    }
    int Count() const { return m_count; }
    const std::string& First() const { return m_first; }

private:
    int m_count = 0;
    std::string m_first;
};

TEST(Schematics, RoutineForEntryFollowsTheCatalogue) {
    const Circuit::DrawRoutine expected[] = {
        nullptr,
        Circuit::DrawSingleResistor,
        Circuit::DrawTwoInParallel,
        Circuit::DrawTwoInSeries,
        Circuit::DrawThreeInParallel,
        Circuit::DrawThreeInSeries,
        Circuit::DrawParallelSeries,
        Circuit::DrawSeriesParallel,
        Circuit::DrawDivider2,
        Circuit::DrawDivider3,
        Circuit::DrawDivider4Variant1,
        Circuit::DrawDivider4Variant2,
        Circuit::DrawDivider4Variant3,
        Circuit::DrawNodeDivider3,
        Circuit::DrawNodeDividerVariant1,
        Circuit::DrawNodeDividerVariant2,
        Circuit::DrawNodeDividerVariant3,
        Circuit::DrawStarSingles,
        Circuit::DrawStarSeriesFirst,
        Circuit::DrawStarParallelFirst,
        Circuit::DrawStarParallelPairs,
        Circuit::DrawStarSeriesParallelPairs,
        Circuit::DrawStarSeriesPairs,
        Circuit::DrawStarAllParallel,
    };
    for (int entry = 0; entry < 24; ++entry)
        EXPECT_EQ(Circuit::RoutineForEntry(entry), expected[entry]) << "entry " << entry;
    for (int entry : {-1, 24, 1000})
        EXPECT_EQ(Circuit::RoutineForEntry(entry), nullptr) << "entry " << entry;
}

TEST(Schematics, BodiesAreYellowInsideABlackOutline) {
    for (const Picture& pic : Pictures())
        for (Mode mode : kModes) {
            const Canvas c(pic.entry, mode);
            for (const BodyRow& b : pic.bodies) {
                const Box& r = b.box;
                const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
                const struct {
                    const char* what;
                    int x, y;
                    QRgb colour;
                } probes[] = {
                    {"centre", cx, cy, kYellow},
                    {"inner top-left corner", r.left + 3, r.top + 3, kYellow},
                    {"inner bottom-right corner", r.right - 4, r.bottom - 4, kYellow},
                    {"left edge", r.left, cy, kBlack},
                    {"right edge", r.right - 1, cy, kBlack},
                    {"top edge", cx, r.top, kBlack},
                    {"bottom edge", cx, r.bottom - 1, kBlack},
                };
                for (const auto& probe : probes)
                    EXPECT_EQ(Hex(c.At(probe.x, probe.y)), Hex(probe.colour))
                        << Where(pic, mode) << ", " << b.name << " " << probe.what;
            }
        }
}

// Every point of every wire that no body covers and no junction dot fills
// is black, and every wire shows somewhere.
TEST(Schematics, WiresAreBlackWhereNoBodyCoversThem) {
    for (const Picture& pic : Pictures())
        for (Mode mode : kModes) {
            const Canvas c(pic.entry, mode);
            Misses notBlack;
            for (const auto& wire : pic.wires)
                for (std::size_t i = 1; i < wire.size(); ++i) {
                    const Pt a = wire[i - 1], b = wire[i];
                    const int steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
                    int shown = 0;
                    for (int s = 0; s <= steps; ++s) {
                        const int x = a.x + (b.x - a.x) * s / steps;
                        const int y = a.y + (b.y - a.y) * s / steps;
                        if (InsideBody(pic, x, y, -2) || NearDot(pic, x, y, 2))
                            continue;
                        ++shown;
                        if (c.At(x, y) != kBlack)
                            notBlack.Add(x, y, Hex(c.At(x, y)));
                    }
                    EXPECT_GT(shown, 0) << Where(pic, mode) << ", segment from (" << a.x << ", "
                                        << a.y << ") to (" << b.x << ", " << b.y << ")";
                }
            EXPECT_EQ(notBlack.Count(), 0) << Where(pic, mode) << ", " << notBlack.First();
        }
}

// A dot is a black ring; its centre takes the caller's brush.
TEST(Schematics, JunctionDotsAreFilledWithTheCallersBrush) {
    for (const Picture& pic : Pictures())
        for (Mode mode : kModes) {
            const Canvas c(pic.entry, mode);
            const QRgb fill = mode == Mode::MainWindow ? kBlack : kYellow;
            for (const Pt& d : pic.dots) {
                const std::string where = Where(pic, mode) + ", dot (" + std::to_string(d.x) +
                                          ", " + std::to_string(d.y) + ")";
                EXPECT_EQ(Hex(c.At(d.x, d.y)), Hex(fill)) << where << " centre";
                for (const Pt& ring : {Pt{d.x - 3, d.y - 3}, Pt{d.x + 2, d.y - 3},
                                       Pt{d.x - 3, d.y + 2}, Pt{d.x + 2, d.y + 2}})
                    EXPECT_EQ(Hex(c.At(ring.x, ring.y)), Hex(kBlack))
                        << where << " ring at (" << ring.x << ", " << ring.y << ")";
            }
        }
}

// The two modes paint the same picture except for the dots' fill.
TEST(Schematics, ModesDifferOnlyInTheDotFill) {
    for (const Picture& pic : Pictures()) {
        const Canvas main(pic.entry, Mode::MainWindow);
        const Canvas calc(pic.entry, Mode::Calculator);
        int differing = 0;
        Misses unexpected;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                if (main.At(x, y) == calc.At(x, y))
                    continue;
                ++differing;
                if (!NearDot(pic, x, y, 2) || main.At(x, y) != kBlack || calc.At(x, y) != kYellow)
                    unexpected.Add(x, y, Hex(main.At(x, y)) + " / " + Hex(calc.At(x, y)));
            }
        EXPECT_EQ(unexpected.Count(), 0) << "entry " << pic.entry << ", " << unexpected.First();
        EXPECT_EQ(differing > 0, !pic.dots.empty()) << "entry " << pic.entry;
    }
}

// Text stands with its top-left corner at the label's point: each label box
// holds ink, its ink starts near that corner, and there is no ink that is
// neither a shape nor a label.
TEST(Schematics, LabelsStandAtTheirPoints) {
    for (const Picture& pic : Pictures()) {
        const Canvas c(pic.entry, Mode::MainWindow);
        const std::vector<LabelRow> labels = AllLabels(pic);
        for (const LabelRow& l : labels) {
            int ink = 0, left = kWidth, top = kHeight;
            for (int y = l.at.y; y < l.at.y + kLabelBoxHeight; ++y)
                for (int x = l.at.x; x < l.at.x + kLabelBoxWidth; ++x)
                    if (c.Dark(x, y) && !ExplainedByShapes(pic, x, y)) {
                        ++ink;
                        left = std::min(left, x);
                        top = std::min(top, y);
                    }
            const std::string where = "entry " + std::to_string(pic.entry) + ", label " + l.text;
            EXPECT_GE(ink, 100) << where;
            EXPECT_LE(left - l.at.x, 6) << where;
            EXPECT_LE(top - l.at.y, 12) << where;
        }
        Misses stray;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (c.Dark(x, y) && !ExplainedByShapes(pic, x, y) &&
                    std::none_of(labels.begin(), labels.end(),
                                 [&](const LabelRow& l) { return InLabelBox(l, x, y); }))
                    stray.Add(x, y);
        EXPECT_EQ(stray.Count(), 0) << "entry " << pic.entry << ": stray ink, " << stray.First();
    }
}

TEST(Schematics, NothingIsPaintedOutsideTheDrawingArea) {
    for (int entry = 0; entry < 24; ++entry)
        for (Mode mode : kModes) {
            const Canvas c(entry, mode);
            int outside = 0;
            for (int y = -kMargin; y < kHeight + kMargin; ++y)
                for (int x = -kMargin; x < kWidth + kMargin; ++x)
                    if ((x < 0 || y < 0 || x >= kWidth || y >= kHeight) && c.At(x, y) != kWhite)
                        ++outside;
            EXPECT_EQ(outside, 0) << "entry " << entry << ", " << ModeName(mode);
        }
}

// A routine leaves the yellow brush selected, whatever brush it was given.
TEST(Schematics, YellowBrushStaysSelectedAfterAnyRoutine) {
    const DrawingObjects o = MakeDrawingObjects();
    for (int entry = 1; entry <= 23; ++entry) {
        QImage image(kWidth, kHeight + 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setPen(o.outlinePen);
        p.setBrush(o.blackBrush);
        p.setFont(o.labelFont);
        Circuit::RoutineForEntry(entry)(p, o);
        p.drawRect(QRect(100, 410, 40, 20));
        p.end();
        EXPECT_EQ(Hex(image.pixel(120, 420) & 0xffffffu), Hex(kYellow)) << "entry " << entry;
    }
}

TEST(ColourBandResistor, BandsBodyAndLeads) {
    const Canvas c(0, Mode::MainWindow);
    const struct {
        const char* what;
        int x, y;
        QRgb colour;
    } probes[] = {
        {"upper lead", 150, 115, kBlack},
        {"lower lead", 150, 295, kBlack},
        {"above the upper lead", 150, 95, kWhite},
        {"below the lower lead", 150, 315, kWhite},
        {"body outline, left", 110, 230, kBlack},
        {"body outline, right", 189, 230, kBlack},
        {"body between bands", 150, 230, Rgb(128, 128, 128)},
        {"red band", 150, 150, Rgb(255, 0, 0)},
        {"magenta band", 150, 175, Rgb(255, 0, 255)},
        {"yellow band", 150, 200, Rgb(255, 255, 0)},
        {"brown band", 150, 260, Rgb(128, 64, 0)},
        {"red band, left end", 121, 150, Rgb(255, 0, 0)},
        {"red band, right end", 178, 150, Rgb(255, 0, 0)},
        {"red band, 7 above", 150, 143, Rgb(255, 0, 0)},
        {"grey gap between red and magenta", 150, 162, Rgb(128, 128, 128)},
        {"grey beyond the band's round end", 112, 150, Rgb(128, 128, 128)},
    };
    for (const auto& probe : probes)
        EXPECT_EQ(Hex(c.At(probe.x, probe.y)), Hex(probe.colour)) << probe.what;
}

TEST(DrawingObjects, PensBrushesAndLabelFont) {
    const DrawingObjects o = MakeDrawingObjects();
    const struct {
        const char* what;
        const QPen& pen;
        int width;
        QRgb colour;
    } pens[] = {
        {"outline", o.outlinePen, 4, kBlack},
        {"red band", o.redBandPen, 16, Rgb(255, 0, 0)},
        {"magenta band", o.magentaBandPen, 16, Rgb(255, 0, 255)},
        {"yellow band", o.yellowBandPen, 16, Rgb(255, 255, 0)},
        {"brown band", o.brownBandPen, 16, Rgb(128, 64, 0)},
    };
    for (const auto& p : pens) {
        EXPECT_EQ(p.pen.width(), p.width) << p.what;
        EXPECT_EQ(p.pen.style(), Qt::SolidLine) << p.what;
        EXPECT_EQ(Hex(p.pen.color().rgb()), Hex(p.colour)) << p.what;
    }
    EXPECT_EQ(Hex(o.greyBrush.color().rgb()), Hex(Rgb(128, 128, 128)));
    EXPECT_EQ(Hex(o.yellowBrush.color().rgb()), Hex(kYellow));
    EXPECT_EQ(Hex(o.blackBrush.color().rgb()), Hex(kBlack));
    for (const QBrush* b : {&o.greyBrush, &o.yellowBrush, &o.blackBrush})
        EXPECT_EQ(b->style(), Qt::SolidPattern);
    EXPECT_EQ(o.labelFont.weight(), QFont::Normal);
}

// Nothing on Linux provides the classic UI family; it must land on Liberation
// Sans (whose widths match it), not on whatever fallback is installed.
TEST(DrawingObjects, LabelFontResolvesToLiberationSans) {
    const QFontInfo info(MakeDrawingObjects().labelFont);
    EXPECT_EQ(info.family().toStdString(), "Liberation Sans");
    EXPECT_EQ(info.pixelSize(), 32);
    EXPECT_EQ(QFontInfo(QFont(kUiFamily)).family().toStdString(), "Liberation Sans");
}

// Set OHMTRIM_RENDER_DIR to a directory to look at the pictures.
TEST(Schematics, RenderToPngWhenAsked) {
    const char* dir = std::getenv("OHMTRIM_RENDER_DIR");
    if (dir == nullptr || *dir == '\0')
        GTEST_SKIP() << "OHMTRIM_RENDER_DIR is not set";
    ASSERT_TRUE(QDir().mkpath(QString::fromLocal8Bit(dir)));
    const QDir out(QString::fromLocal8Bit(dir));
    for (int entry = 0; entry < 24; ++entry) {
        const QString name = QString::asprintf("entry_%02d.png", entry);
        EXPECT_TRUE(Canvas(entry, Mode::MainWindow).DrawingArea().save(out.filePath(name)))
            << name.toStdString();
    }
    for (int entry : {2, 16, 17, 19, 23}) {
        const QString name = QString::asprintf("entry_%02d_calculator.png", entry);
        EXPECT_TRUE(Canvas(entry, Mode::Calculator).DrawingArea().save(out.filePath(name)))
            << name.toStdString();
    }
}

} // namespace
} // namespace ohmtrim
