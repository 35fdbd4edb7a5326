#pragma once

#include "app/application.h"
#include "app/main_window.h"
#include "schematics/circuit.h"
#include "tests/core/temp_dir.h"
#include "tests/gui/fake_platform.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ohmtrim::testing {

// A program directory of its own for one test, removed afterwards.
class TempProgramDir : public TempDir {
public:
    // A value-set file with the given label and values R1, R2, ...
    void WriteValueSet(std::string_view file, std::string_view label,
                       std::initializer_list<const char*> values,
                       std::string_view extra = {}) const {
        Write(file, ValueSetText(label, values, extra));
    }
};

template <class T> T* Find(const QWidget& window, const char* name) {
    T* w = window.findChild<T*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

inline void Click(const QWidget& window, const char* button) {
    if (auto* b = Find<QPushButton>(window, button))
        b->click();
}

inline QString Text(const QWidget& window, const char* edit) {
    auto* e = Find<QLineEdit>(window, edit);
    return e != nullptr ? e->text() : QString();
}

// "A and B" for every two controls of window that are not hidden and whose
// rectangles meet.
inline std::vector<std::string> OverlappingControls(const QWidget& window) {
    std::vector<QWidget*> shown;
    for (QWidget* w : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (!w->isHidden())
            shown.push_back(w);
    std::vector<std::string> overlaps;
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j)
            if (shown[i]->geometry().intersects(shown[j]->geometry()))
                overlaps.push_back(shown[i]->objectName().toStdString() + " and " +
                                   shown[j]->objectName().toStdString());
    return overlaps;
}

// Whether the shown window's drawing area (x below width) holds exactly what
// draw paints with the program's shared drawing objects on the window's
// background.
inline bool ShowsDrawing(Program& program, QWidget& window, Circuit::DrawRoutine draw, int width) {
    const QImage shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage expected(shown.size(), QImage::Format_RGB32);
    expected.fill(window.palette().color(QPalette::Window));
    {
        const DrawingObjects& o = program.mainWindow().drawingObjects();
        QPainter p(&expected);
        p.setBackgroundMode(Qt::TransparentMode);
        p.setPen(o.outlinePen);
        p.setBrush(o.yellowBrush);
        p.setFont(o.labelFont);
        draw(p, o);
    }
    const QRect area(0, 0, width, shown.height());
    return shown.copy(area) == expected.copy(area);
}

// The title-bar close of a shown calculator window, moved to (140, 70)
// first: it either ends the program or is refused and brings the main window
// back at the window's position.
inline void ExpectTitleBarClose(Program& program, QWidget& window, bool endsProgram) {
    QSignalSpy ended(&program.mainWindow(), &TForm1::programEnded);
    window.move(140, 70);
    const bool accepted = window.close();
    EXPECT_FALSE(window.isVisible());
    if (endsProgram) {
        EXPECT_TRUE(accepted);
        EXPECT_EQ(ended.count(), 1);
        EXPECT_FALSE(program.mainWindow().isVisible());
    } else {
        EXPECT_FALSE(accepted) << "the close itself is refused";
        EXPECT_EQ(ended.count(), 0);
        EXPECT_TRUE(program.mainWindow().isVisible());
        EXPECT_EQ(program.mainWindow().pos(), QPoint(140, 70));
    }
}

} // namespace ohmtrim::testing
