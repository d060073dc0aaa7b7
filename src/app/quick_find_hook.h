// The quick-find dialog as the list pages open it. The find dialogs install the runner; a page
// offers "Quick Find" only while one is installed.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

namespace kindrel {

class TViewContext;

// Opens quick find over owner, positioned on start (an individual); answers the individual
// chosen with OK, 0 when cancelled.
using QuickFindRunner = std::function<int32_t(QWidget* owner, TViewContext& context, int32_t start)>;

// The installed runner (empty while none is).
inline QuickFindRunner& QuickFindHook() {
    static QuickFindRunner runner;
    return runner;
}

}  // namespace kindrel
