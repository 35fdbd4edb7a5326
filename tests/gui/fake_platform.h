#pragma once

#include "platform/platform.h"

#include <QString>

#include <vector>

namespace ohmtrim::testing {

// A platform that records every call and never blocks.
class FakePlatform final : public Platform {
public:
    struct Box {
        QString text;
        QString caption;
        bool operator==(const Box&) const = default;
    };

    void ErrorBox(const QString& text, const QString& caption) override {
        boxes.push_back({text, caption});
        busyAtLastBox = busyDepth;
    }
    void Beep() override { ++beeps; }
    void ShowHelp(int context) override { helpContexts.push_back(context); }
    void PushBusyCursor() override {
        ++busyDepth;
        ++busyShown;
    }
    void PopBusyCursor() override { --busyDepth; }

    std::vector<Box> boxes;
    std::vector<int> helpContexts;
    int beeps = 0;
    int busyDepth = 0;     // cursors currently pushed
    int busyShown = 0;     // how often the busy cursor was shown
    int busyAtLastBox = 0; // busy depth while the last box was up
};

} // namespace ohmtrim::testing
