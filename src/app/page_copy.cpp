#include "app/page_copy.h"

#include "app/view_page.h"
#include "containers/scope_exit.h"
#include "services/options.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <QTextEdit>

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

bool CopyPageText(TViewPage& page, const std::function<std::optional<std::string>()>& render) {
    // The page is rebuilt with the setting as stored, also after a failed rendering.
    const ScopeExit rebuild([&page] { page.RefreshPage(); });
    std::optional<std::string> text;
    {
        const WScopedOverride tagSentOff(Options(), Opt::TMGTagSent, "F");
        text = render();
    }
    if (!text || text->empty()) return false;
    // A NUL would cut the text short in some receivers.
    std::erase(*text, '\0');
    QApplication::clipboard()->setText(QString::fromUtf8(text->data(), qsizetype(text->size())));
    page.Context().FlashText(QString::fromUtf8(kCopyCompleteText));
    return true;
}

}  // namespace kindrel
