#include "app/about_box.h"

#include "app/app_texts.h"
#include "app/url_opener.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace kindrel {

TSEAboutBox::TSEAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QStringLiteral("About"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(6);

    auto* product = new QLabel(QString::fromUtf8(kProductName), this);
    product->setObjectName(QStringLiteral("aboutProduct"));
    QFont productFont = product->font();
    productFont.setPointSizeF(productFont.pointSizeF() * 1.4);
    productFont.setBold(true);
    product->setFont(productFont);
    layout->addWidget(product);

    auto addLabel = [&](const char* name, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        layout->addWidget(label);
        return label;
    };
    addLabel("aboutVersion", QString::fromStdString(AboutVersionText()));
    addLabel("aboutBuilt", QString::fromUtf8(kBuildLabel));
    addLabel("aboutCopyright", QString::fromUtf8(kCopyrightText));
    QLabel* support =
        addLabel("aboutSupport", QStringLiteral("Support: <a href=\"%1\">%2</a>")
                                     .arg(QString::fromStdString(SupportMailUrl()).toHtmlEscaped(),
                                          QString::fromUtf8(kSupportEmail)));
    support->setTextFormat(Qt::RichText);
    support->setOpenExternalLinks(false);
    connect(support, &QLabel::linkActivated, this,
            [](const QString& link) { WUrlOpener::Open(QUrl(link)); });

    layout->addSpacing(8);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

}  // namespace kindrel
