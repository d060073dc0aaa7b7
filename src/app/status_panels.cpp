#include "app/status_panels.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

namespace kindrel {

TStatusPanels::TStatusPanels(QStatusBar* bar) : QObject(bar) {
    setObjectName(QStringLiteral("statusPanels"));
    static constexpr int kWidths[kPanelCount] = {220, 110, 110, 90, 90};
    for (int i = 0; i < kPanelCount; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        label->setTextFormat(Qt::PlainText);
        label->setMinimumWidth(kWidths[i]);
        label->setFrameShape(QFrame::NoFrame);
        label->setContentsMargins(6, 0, 6, 0);
        m_panels[i] = label;
    }
    // Panel 0 takes the free width; the progress bar sits between it and the counts.
    m_progress = new QProgressBar(bar);
    m_progress->setObjectName(QStringLiteral("statusProgress"));
    m_progress->setRange(0, 1000);
    m_progress->setMaximumWidth(260);
    m_progress->setMaximumHeight(16);
    m_progress->setTextVisible(true);
    m_progress->hide();
    bar->addWidget(m_panels[0], 1);
    bar->addPermanentWidget(m_progress);
    for (int i = 1; i < kPanelCount; ++i) bar->addPermanentWidget(m_panels[i]);
}

void TStatusPanels::SetText(int panel, const QString& text) {
    if (panel < 0 || panel >= kPanelCount) return;
    m_panels[panel]->setText(text);
}

QString TStatusPanels::Text(int panel) const {
    if (panel < 0 || panel >= kPanelCount) return {};
    return m_panels[panel]->text();
}

void TStatusPanels::ClearCounts() {
    for (int i = 1; i < kPanelCount; ++i) m_panels[i]->clear();
}

void TStatusPanels::SetProgress(const QString& label, long long done, long long total) {
    m_progressLabel = label;
    if (total <= 0) {
        m_progress->setRange(0, 0);
        m_progress->setFormat(label);
    } else {
        m_progress->setRange(0, 1000);
        const long long clamped = done < 0 ? 0 : (done > total ? total : done);
        m_progress->setValue(static_cast<int>(clamped * 1000 / total));
        m_progress->setFormat(label + QStringLiteral(" %p%"));
    }
    m_progress->show();
}

void TStatusPanels::HideProgress() {
    m_progress->hide();
    m_progressLabel.clear();
}

bool TStatusPanels::ProgressShown() const {
    return !m_progress->isHidden();
}

QString TStatusPanels::ProgressLabel() const {
    return m_progressLabel;
}

}  // namespace kindrel
