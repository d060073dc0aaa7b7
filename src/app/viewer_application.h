// The viewer's QApplication: errors raised inside event handlers are shown in a message box
// and the event loop goes on.
#pragma once

#include <QApplication>

namespace kindrel {

class WViewerApplication : public QApplication {
    Q_OBJECT
  public:
    WViewerApplication(int& argc, char** argv);

    // Delivers an event; an exception from its handler becomes a message box.
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace kindrel
