#include "app/dialogs/report_preview.h"

#include "app/pages/person_table.h"
#include "reports/report_forms.h"
#include "reports/report_painter.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace kindrel {

// The sheet of the page shown, painted from its items at the size the zoom gives.
class TReportPageView : public QWidget {
  public:
    explicit TReportPageView(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("previewPage"));
    }
    void SetPage(WReportPage page) {
        m_page = std::move(page);
        update();
    }
    const WReportPage& Page() const { return m_page; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        PaintReportPage(painter, m_page, QRectF(rect()));
    }

  private:
    WReportPage m_page;
};

namespace {

const int kZoomSteps[] = {25, 50, 75, 100, 125, 150, 200, 300, 400};

QToolButton* Button(QWidget* parent, const char* name, const QString& text, const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

TReportPreview::TReportPreview(TABSReportForm& form, std::function<void()> print,
                               std::function<void()> save, QWidget* parent)
    : QDialog(parent), m_form(form), m_count(std::max(1, form.PageCount())) {
    setObjectName(QStringLiteral("reportPreview"));
    setWindowTitle(QStringLiteral("Preview - ") + QString::fromStdString(form.Title()));
    resize(760, 900);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* bar = new QHBoxLayout;
    m_first = Button(this, "previewFirst", QStringLiteral("|<"), QStringLiteral("First page (Home)"));
    m_previous = Button(this, "previewPrevious", QStringLiteral("<"),
                        QStringLiteral("Previous page (Page Up)"));
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("previewPageText"));
    m_pageLabel->setTextFormat(Qt::PlainText);
    m_next = Button(this, "previewNext", QStringLiteral(">"), QStringLiteral("Next page (Page Down)"));
    m_last = Button(this, "previewLast", QStringLiteral(">|"), QStringLiteral("Last page (End)"));
    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("previewZoom"));
    m_zoomBox->addItem(QStringLiteral("Fit"), 0);
    for (int step : kZoomSteps) m_zoomBox->addItem(QStringLiteral("%1 %").arg(step), step);
    auto* printButton = Button(this, "previewPrint", QStringLiteral("&Print..."),
                               QStringLiteral("Print (Ctrl+P)"));
    auto* saveButton = Button(this, "previewSave", QStringLiteral("&Save to File..."),
                              QStringLiteral("Save to File (Ctrl+S)"));
    auto* closeButton = Button(this, "previewClose", QStringLiteral("&Close"),
                               QStringLiteral("Close (Esc)"));
    printButton->setEnabled(static_cast<bool>(print));
    saveButton->setEnabled(static_cast<bool>(save));
    for (QWidget* w : std::initializer_list<QWidget*>{m_first, m_previous, m_pageLabel, m_next,
                                                      m_last, m_zoomBox})
        bar->addWidget(w);
    bar->addStretch();
    bar->addWidget(printButton);
    bar->addWidget(saveButton);
    bar->addWidget(closeButton);
    layout->addLayout(bar);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("previewScroll"));
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new TReportPageView(m_scroll);
    m_scroll->setWidget(m_view);
    m_scroll->viewport()->installEventFilter(this);
    layout->addWidget(m_scroll, 1);

    connect(m_first, &QToolButton::clicked, this, [this] { ShowPage(1); });
    connect(m_previous, &QToolButton::clicked, this, [this] { ShowPage(m_page - 1); });
    connect(m_next, &QToolButton::clicked, this, [this] { ShowPage(m_page + 1); });
    connect(m_last, &QToolButton::clicked, this, [this] { ShowPage(m_count); });
    connect(m_zoomBox, &QComboBox::activated, this,
            [this](int index) { SetZoom(m_zoomBox->itemData(index).toInt()); });
    connect(closeButton, &QToolButton::clicked, this, &QDialog::reject);
    if (print) connect(printButton, &QToolButton::clicked, this, print);
    if (save) connect(saveButton, &QToolButton::clicked, this, save);

    auto* printAction = new QAction(QStringLiteral("Print..."), this);
    printAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    printAction->setEnabled(static_cast<bool>(print));
    if (print) connect(printAction, &QAction::triggered, this, print);
    auto* saveAction = new QAction(QStringLiteral("Save to File..."), this);
    saveAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    saveAction->setEnabled(static_cast<bool>(save));
    if (save) connect(saveAction, &QAction::triggered, this, save);
    addAction(printAction);
    addAction(saveAction);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, [=, this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("First Page"), this, [this] { ShowPage(1); });
        menu.addAction(QStringLiteral("Previous Page"), this, [this] { ShowPage(m_page - 1); });
        menu.addAction(QStringLiteral("Next Page"), this, [this] { ShowPage(m_page + 1); });
        menu.addAction(QStringLiteral("Last Page"), this, [this] { ShowPage(m_count); });
        menu.addSeparator();
        menu.addAction(QStringLiteral("Fit Page"), this, [this] { SetZoom(0); });
        menu.addAction(QStringLiteral("100 %"), this, [this] { SetZoom(100); });
        menu.addSeparator();
        menu.addAction(printAction);
        menu.addAction(saveAction);
        RunContextMenu(menu, m_view->mapToGlobal(at));
    });
    ShowPage(1);
}

QString TReportPreview::PageText() const { return m_pageLabel->text(); }

void TReportPreview::ShowPage(int k) {
    m_page = std::clamp(k, 1, m_count);
    m_view->SetPage(m_form.Page(m_page));
    m_pageLabel->setText(QStringLiteral("%1 of %2").arg(m_page).arg(m_count));
    m_first->setEnabled(m_page > 1);
    m_previous->setEnabled(m_page > 1);
    m_next->setEnabled(m_page < m_count);
    m_last->setEnabled(m_page < m_count);
}

void TReportPreview::SetZoom(int percent) {
    m_zoom = percent == 0 ? 0 : std::clamp(percent, 25, 400);
    const int index = m_zoomBox->findData(m_zoom);
    if (index >= 0) m_zoomBox->setCurrentIndex(index);
    UpdateView();
}

void TReportPreview::UpdateView() {
    QSize size;
    if (m_zoom == 0) {
        const QSize room = m_scroll->viewport()->size() - QSize(8, 8);
        const double scale = std::min(room.width() / double(kReportSheetWidth),
                                      room.height() / double(kReportSheetHeight));
        size = QSize(int(kReportSheetWidth * scale), int(kReportSheetHeight * scale));
    } else {
        size = QSize(kReportSheetWidth * m_zoom / 100, kReportSheetHeight * m_zoom / 100);
    }
    m_view->setFixedSize(size.expandedTo(QSize(40, 52)));
}

void TReportPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    UpdateView();
}

void TReportPreview::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_PageDown: ShowPage(m_page + 1); return;
        case Qt::Key_PageUp: ShowPage(m_page - 1); return;
        case Qt::Key_Home: ShowPage(1); return;
        case Qt::Key_End: ShowPage(m_count); return;
        default: break;
    }
    QDialog::keyPressEvent(event);
}

bool TReportPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_scroll->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int current = m_zoom == 0 ? m_view->width() * 100 / kReportSheetWidth : m_zoom;
            SetZoom(current + (wheel->angleDelta().y() > 0 ? 25 : -25));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kindrel
