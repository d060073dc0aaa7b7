#include "app/wait_dialog.h"

#include "containers/ui_hooks.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace kindrel {

namespace {

constexpr int kShowDelayMs = 250;
constexpr int kFlashMs = 500;
constexpr int kFlashWidth = 298;
constexpr int kFlashHeight = 40;

QPointer<TWaitDlg> g_dialog;
int g_depth = 0;
QPointer<QLabel> g_flash;

}  // namespace

TWaitDlg::TWaitDlg(const QString& message, bool withCancel, QWidget* owner)
    // No parent: the owner is disabled while the dialog is up, and a child would be disabled
    // with it (Cancel could not be pressed). The window system keeps it above its owner.
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_owner(owner ? owner->window() : nullptr) {
    setObjectName(QStringLiteral("waitDialog"));
    setWindowTitle(QStringLiteral("Working..."));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(10);
    m_label = new QLabel(message, this);
    m_label->setObjectName(QStringLiteral("waitMessage"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setMinimumWidth(260);
    layout->addWidget(m_label);
    m_progress = new QLabel(this);
    m_progress->setObjectName(QStringLiteral("waitProgress"));
    m_progress->setAlignment(Qt::AlignCenter);
    m_progress->setTextFormat(Qt::PlainText);
    m_progress->setVisible(false);
    layout->addWidget(m_progress);
    if (withCancel) {
        m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
        m_cancel->setObjectName(QStringLiteral("waitCancel"));
        auto* row = new QHBoxLayout;
        row->addStretch();
        row->addWidget(m_cancel);
        row->addStretch();
        layout->addLayout(row);
        connect(m_cancel, &QPushButton::clicked, this, &TWaitDlg::PressCancel);
    }
    setFixedSize(sizeHint());
}

void TWaitDlg::Appear() {
    if (m_delay) m_delay->stop();
    if (m_owner && m_owner->isEnabled()) {
        m_owner->setEnabled(false);
        m_ownerDisabled = true;
    }
    if (m_owner) {
        const QRect frame = m_owner->frameGeometry();
        move(frame.center() - rect().center());
        winId();  // creates the window handle
        if (QWindow* handle = windowHandle()) handle->setTransientParent(m_owner->windowHandle());
    }
    show();
    raise();
}

void TWaitDlg::ShowWait(const QString& message, bool atOnce, bool withCancel, QWidget* owner) {
    if (withCancel) SetCancelRequested(false);
    ++g_depth;
    if (g_depth > 1 && g_dialog) return;
    if (!owner) owner = QApplication::activeWindow();
    g_dialog = new TWaitDlg(message, withCancel, owner);
    if (atOnce) {
        g_dialog->Appear();
    } else {
        g_dialog->m_delay = new QTimer(g_dialog);
        g_dialog->m_delay->setSingleShot(true);
        connect(g_dialog->m_delay, &QTimer::timeout, g_dialog, &TWaitDlg::Appear);
        g_dialog->m_delay->start(kShowDelayMs);
    }
}

void TWaitDlg::HideWait() {
    if (g_depth <= 0) return;
    if (--g_depth > 0) return;
    if (!g_dialog) return;
    TWaitDlg* dialog = g_dialog;
    g_dialog = nullptr;
    if (dialog->m_delay) dialog->m_delay->stop();
    if (dialog->m_ownerDisabled && dialog->m_owner) dialog->m_owner->setEnabled(true);
    dialog->hide();
    // Deleted later: HideWait may run inside a handler of the dialog itself.
    dialog->deleteLater();
}

TWaitDlg* TWaitDlg::Current() {
    return g_dialog;
}

int TWaitDlg::Depth() {
    return g_depth;
}

QString TWaitDlg::Message() const {
    return m_label->text();
}

void TWaitDlg::SetProgressText(const QString& text) {
    if (!g_dialog) return;
    g_dialog->m_progress->setText(text);
    if (g_dialog->m_progress->isHidden() != text.isEmpty()) {
        g_dialog->m_progress->setVisible(!text.isEmpty());
        g_dialog->setFixedSize(g_dialog->sizeHint());
    }
}

QString TWaitDlg::ProgressText() const {
    return m_progress->text();
}

void TWaitDlg::PressCancel() {
    SetCancelRequested(true);
    if (m_cancel) m_cancel->setEnabled(false);
}

bool FlashMessage(QWidget* window, const QString& text) {
    if (g_flash) return false;
    auto* panel =
        new QLabel(text, nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    panel->setObjectName(QStringLiteral("flashMessage"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setAttribute(Qt::WA_ShowWithoutActivating);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFixedSize(kFlashWidth, kFlashHeight);
    panel->setStyleSheet(
        QStringLiteral("QLabel { background: #c0c0c0; color: black; border: 1px solid #808080; }"));
    QRect area;
    if (window) {
        area = window->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    panel->move(area.center() - QPoint(kFlashWidth / 2, kFlashHeight / 2));
    g_flash = panel;
    panel->show();
    QTimer::singleShot(kFlashMs, panel, &QWidget::close);
    return true;
}

bool FlashMessageShown() {
    return !g_flash.isNull();
}

}  // namespace kindrel
