#include "app/page_copy.h"

#include "app/view_page.h"
#include "containers/scope_exit.h"
#include "containers/ui_hooks.h"
#include "services/options.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <QTextEdit>

#include <algorithm>

namespace kindrel {

bool CanCopyActiveIndividual(const TViewContext& context) {
    return context.Collection() && context.ActiveIndividual() > 0 && !context.IsWindowBusy();
}

bool CopyFocusedSelection() {
    QWidget* focus = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focus); line && line->hasSelectedText()) {
        if (line->echoMode() == QLineEdit::Normal) line->copy();
        return true;
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(focus);
        memo && memo->textCursor().hasSelection()) {
        memo->copy();
        return true;
    }
    if (auto* text = qobject_cast<QTextEdit*>(focus); text && text->textCursor().hasSelection()) {
        text->copy();
        return true;
    }
    if (auto* label = qobject_cast<QLabel*>(focus); label && label->hasSelectedText()) {
        QApplication::clipboard()->setText(label->selectedText());
        return true;
    }
    return false;
}

bool CopyPageClipText(TViewPage& page, const std::function<std::optional<QString>()>& render) {
    // The page is rebuilt with the setting as stored, also after a failed rendering.
    const ScopeExit rebuild([&page] { page.RefreshPage(); });
    std::optional<QString> text;
    {
        const WScopedOverride tagSentOff(Options(), Opt::TMGTagSent, "F");
        text = render();
    }
    if (!text || text->isEmpty()) return false;
    QApplication::clipboard()->setText(*text);
    page.Context().FlashText(QString::fromUtf8(kCopyCompleteText));
    return true;
}

bool CopyPageText(TViewPage& page, const std::function<std::optional<std::string>()>& render) {
    return CopyPageClipText(page, [&render]() -> std::optional<QString> {
        const std::optional<std::string> text = render();
        if (!text) return std::nullopt;
        QString clip;
        if (!ClipboardTextInSlices(*text, clip)) return std::nullopt;
        return clip;
    });
}

void AppendClipText(QString& clip, std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        size_t nul = text.find('\0', at);
        if (nul == std::string_view::npos) nul = text.size();
        clip += QString::fromUtf8(text.data() + at, static_cast<qsizetype>(nul - at));
        at = nul + 1;
    }
}

bool ClipboardTextInSlices(std::string_view text, QString& out) {
    constexpr size_t kSlice = size_t(1) << 20;
    out.clear();
    out.reserve(static_cast<qsizetype>(text.size()));
    for (size_t at = 0; at < text.size();) {
        size_t end = std::min(text.size(), at + kSlice);
        // A slice ends after a line break, never inside a character.
        if (end < text.size()) {
            const size_t lineEnd = text.find('\n', end);
            end = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
        }
        AppendClipText(out, text.substr(at, end - at));
        at = end;
        if (at < text.size()) {
            PumpEvents();
            if (CancelRequested()) {
                out.clear();
                return false;
            }
        }
    }
    return true;
}

}  // namespace kindrel
