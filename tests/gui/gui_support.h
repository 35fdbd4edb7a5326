#pragma once

#include "app/application.h"
#include "app/main_window.h"
#include "tests/core/temp_dir.h"
#include "tests/gui/fake_platform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
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

} // namespace ohmtrim::testing
