#include "app/splash_screen.h"

#include "app/app_texts.h"
#include "app/sender_info.h"
#include "services/self_view_trailer.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace kindrel {

namespace {

constexpr int kTickMs = 100;
constexpr int kStep = 5;

}  // namespace

TSE_SplashScreen::TSE_SplashScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("splashScreen"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("splashFrame"));
    frame->setStyleSheet(
        QStringLiteral("#splashFrame { background: #f4f1ea; border: 1px solid #7a6a4f; }"
                       "#splashTitle { color: #3d2f1b; }"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(8);

    auto* title = new QLabel(QString::fromStdString(SplashTitle()), frame);
    title->setObjectName(QStringLiteral("splashTitle"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);

    m_fileTitle = new QLabel(frame);
    m_fileTitle->setObjectName(QStringLiteral("splashFileTitle"));
    QFont fileFont = m_fileTitle->font();
    fileFont.setPointSizeF(fileFont.pointSizeF() * 1.2);
    m_fileTitle->setFont(fileFont);
    layout->addWidget(m_fileTitle);
    m_from = new QLabel(frame);
    m_from->setObjectName(QStringLiteral("splashFrom"));
    layout->addWidget(m_from);
    m_created = new QLabel(frame);
    m_created->setObjectName(QStringLiteral("splashCreated"));
    layout->addWidget(m_created);
    layout->addSpacing(6);

    auto* loading = new QLabel(QString::fromUtf8(kSplashLoadingText), frame);
    loading->setObjectName(QStringLiteral("splashLoading"));
    layout->addWidget(loading);
    m_progress = new QProgressBar(frame);
    m_progress->setObjectName(QStringLiteral("splashProgress"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(14);
    layout->addWidget(m_progress);

    setFixedSize(440, sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &TSE_SplashScreen::Tick);
    m_timer->start(kTickMs);
}

void TSE_SplashScreen::Fill(const SelfViewTrailer& trailer) {
    m_fileTitle->setText(QString::fromStdString(trailer.title));
    m_from->setText(QStringLiteral("From: ") + QString::fromStdString(trailer.senderName));
    m_created->setText(QStringLiteral("Created: ") +
                       QString::fromStdString(FormatLongDateTime(trailer.created)));
}

int TSE_SplashScreen::Progress() const {
    return m_progress->value();
}

void TSE_SplashScreen::Tick() {
    const int next = m_progress->value() + kStep;
    m_progress->setValue(next > 100 ? 0 : next);
}

}  // namespace kindrel
