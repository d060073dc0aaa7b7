#include "app/url_opener.h"

#include <QDesktopServices>

namespace kindrel {

namespace {

WUrlOpener::Handler& UrlHandler() {
    static WUrlOpener::Handler handler;
    return handler;
}

}  // namespace

bool WUrlOpener::Open(const QUrl& url) {
    if (!url.isValid()) return false;
    if (const Handler& handler = UrlHandler()) return handler(url);
    return QDesktopServices::openUrl(url);
}

void WUrlOpener::SetTestHandler(Handler handler) {
    UrlHandler() = std::move(handler);
}

}  // namespace kindrel
