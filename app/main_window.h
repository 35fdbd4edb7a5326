#pragma once

#include "settings/discovery.h"
#include "schematics/circuit.h"
#include "windows/form.h"
#include "windows/search_runner.h"
#include "windows/shell.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

class QComboBox;

namespace ohmtrim {

// The main window: one catalogue entry at a time as a drawing, stepping
// through the catalogue, the value set the calculator windows start with,
// and the way into the calculator window of the entry shown. Its creation
// reads the settings and the value sets; its closing saves the settings and
// ends the program.
class TForm1 final : public Form, public Shell {
    Q_OBJECT
public:
    // Runs the start-up sequence on the program directory dir; every value
    // set that fails to load is reported in its own error box.
    TForm1(Platform& platform, const std::filesystem::path& dir);
    ~TForm1() override;

    // A window "&Select circuit" can open, by its class name ("TForm2").
    void RegisterWindow(std::string_view className, QWidget* window);
    QWidget* registeredWindow(std::string_view className) const override;

    int catalogueIndex() const { return m_index; }

    // Handlers.
    void FormCreate();
    void FormShow() override;
    void FormHide() override;
    void FormPaint() override;
    void FormClose(QCloseEvent* event) override;
    void Button1Click(); // "&Next circuit"
    void Button5Click(); // "&Previous circuit"
    void Button2Click(); // "&Select circuit"
    void Button6Click(); // "&Help"
    void Button4Click(); // "&Exit"

    // Shell
    Platform& platform() override { return Form::platform(); }
    SearchRunner& searchRunner() override { return m_runner; }
    const ValueSetList& valueSets() const override { return m_state.valueSets; }
    double relTol() const override { return m_state.settings.relTol; }
    int mainSelection() const override;
    const DrawingObjects& drawingObjects() const override { return m_drawing; }
    QPoint sharedPosition() const override { return m_sharedPosition; }
    void setSharedPosition(QPoint position) override { m_sharedPosition = position; }
    void showMainWindow() override;
    void closeMainWindow() override;

signals:
    // The main window has closed: the program ends.
    void programEnded();

private:
    void RedrawCircuit();

    std::filesystem::path m_directory;
    ProgramState m_state;
    DrawingObjects m_drawing;
    SearchRunner m_runner;
    QPoint m_sharedPosition;
    int m_index = 0;
    bool m_saveFailureShown = false;
    QComboBox* m_list = nullptr;
    std::map<std::string, QWidget*, std::less<>> m_windows;
};

} // namespace ohmtrim
