#pragma once

#include "app/application.h"
#include "app/main_window.h"
#include "tests/gui/fake_platform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>

namespace ohmtrim::testing {

// A program directory of its own for one test, removed afterwards.
class TempProgramDir {
public:
    TempProgramDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "ohmtrim-gui-";
        if (info != nullptr)
            name += std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        m_path = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempProgramDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempProgramDir(const TempProgramDir&) = delete;
    TempProgramDir& operator=(const TempProgramDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    void Write(const std::string& file, const std::string& text) const {
        std::ofstream out(m_path / file, std::ios::binary);
        out << text;
    }
    std::string Read(const std::string& file) const {
        std::ifstream in(m_path / file, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    // A value-set file with the given label and values R1, R2, ...
    void WriteValueSet(const std::string& file, const std::string& label,
                       std::initializer_list<const char*> values, const std::string& extra = {}) {
        std::ostringstream text;
        text << "[Resistors]\nLabel=" << label << "\nMinIndex=1\nMaxIndex=" << values.size()
             << "\n";
        int n = 1;
        for (const char* v : values)
            text << "R" << n++ << "=" << v << "\n";
        text << extra;
        Write(file, text.str());
    }

private:
    std::filesystem::path m_path;
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

} // namespace ohmtrim::testing
