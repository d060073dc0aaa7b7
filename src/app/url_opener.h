// Mail and web links leave the viewer through here (QDesktopServices::openUrl), so tests can
// see the targets instead of starting a mail program or a browser.
#pragma once

#include <QUrl>

#include <functional>

namespace kindrel {

class WUrlOpener {
  public:
    // Opens url with the desktop's handler; true when it was handed over.
    static bool Open(const QUrl& url);

    // Tests: while installed, the handler gets every url instead and answers for Open.
    using Handler = std::function<bool(const QUrl& url)>;
    static void SetTestHandler(Handler handler);
};

}  // namespace kindrel
