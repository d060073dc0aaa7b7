// The viewer window of the benchmarks that time pages and dialogs: shown offscreen at a fixed
// size, loaded, on the Individual tab.
#pragma once

#include "app/app_texts.h"
#include "app/main_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>

#include <memory>
#include <string>

namespace bench {

// A window started with start, shown offscreen at width x height, its start-up done; null
// when nothing loaded.
inline std::unique_ptr<kindrel::TLogoAppForm> OpenStartedWindow(
    const kindrel::TLogoAppForm::StartOptions& start, int width, int height) {
    auto window = std::make_unique<kindrel::TLogoAppForm>(start);
    window->resize(width, height);
    window->show();
    while (!window->StartupDone()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!window->Collection()) return nullptr;
    return window;
}

// A window over file, shown, loaded, on the Individual tab; null when it did not load.
inline std::unique_ptr<kindrel::TLogoAppForm> OpenWindow(const std::string& file) {
    kindrel::TLogoAppForm::StartOptions start;
    start.gedcomFile = file;
    start.quickHelp = false;
    auto window = OpenStartedWindow(start, 1100, 720);
    if (window) window->SelectTab(kindrel::kTabIndividual);
    return window;
}

// A key pressed (without modifiers) and handled by widget at once.
inline void PressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

}  // namespace bench
