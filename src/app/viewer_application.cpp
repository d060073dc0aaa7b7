#include "app/viewer_application.h"

#include "app/app_texts.h"
#include "app/message_box.h"

#include <ios>

namespace kindrel {

WViewerApplication::WViewerApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool WViewerApplication::notify(QObject* receiver, QEvent* event) {
    // Exceptions must not cross Qt's event delivery: each is reported here instead.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::ios_base::failure&) {
        WMessageBox::Show(activeWindow(), QStringLiteral("Error with I/O"),
                          QString::fromUtf8(kProductName), MessageRecord::kError);
    } catch (const std::exception& error) {
        WMessageBox::Show(activeWindow(), QString::fromUtf8(error.what()),
                          QString::fromUtf8(kProductName), MessageRecord::kError);
    } catch (...) {
        WMessageBox::Show(activeWindow(), QStringLiteral("Unexpected error"),
                          QString::fromUtf8(kProductName), MessageRecord::kError);
    }
    return false;
}

}  // namespace kindrel
