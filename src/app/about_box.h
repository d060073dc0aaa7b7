// The about box: version and build, copyright and the support mail link.
#pragma once

#include <QDialog>

namespace kindrel {

class TSEAboutBox : public QDialog {
    Q_OBJECT
  public:
    // Caption "About", "Version: 1.07." + build number, the build label, the copyright and a
    // support mail link (opened through WUrlOpener).
    explicit TSEAboutBox(QWidget* parent = nullptr);
};

}  // namespace kindrel
