#pragma once

#include <QPoint>

#include <string_view>

class QWidget;

namespace ohmtrim {

class Platform;
class SearchRunner;
struct DrawingObjects;
struct ValueSetList;

// What every window needs from the main window and the program around it:
// the value sets read at start, the main selection, the shared window
// position and drawing objects, and the main window's show and close.
class Shell {
public:
    virtual ~Shell() = default;

    virtual Platform& platform() = 0;
    virtual SearchRunner& searchRunner() = 0;
    virtual const ValueSetList& valueSets() const = 0;
    virtual double relTol() const = 0;
    // Index into valueSets() of the main window's choice; -1 for none.
    virtual int mainSelection() const = 0;
    virtual const DrawingObjects& drawingObjects() const = 0;

    // Every window stores its client position (Form::clientPosition) here
    // when hidden and moves its client area here when shown.
    virtual QPoint sharedPosition() const = 0;
    virtual void setSharedPosition(QPoint position) = 0;

    // A window of the program by its class name ("TForm14"); null when the
    // program has none of that name. Windows that share a dialog find it here.
    virtual QWidget* registeredWindow(std::string_view className) const = 0;

    virtual void showMainWindow() = 0;
    // Closes the main window, which saves the settings and ends the program.
    virtual void closeMainWindow() = 0;
};

} // namespace ohmtrim
