// The Sender page: who made this self-viewing file, their message, and the welcome text.
#pragma once

#include "app/sender_info.h"
#include "app/view_page.h"

#include <functional>

class QFormLayout;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTextBrowser;

namespace kindrel {

class TSenderPage : public TViewPage {
    Q_OBJECT
  public:
    explicit TSenderPage(TViewContext& context, QWidget* parent = nullptr);

    // Fills the sender fields.
    void SetSender(const SenderInfo& info);
    // Empties the sender fields (no trailer).
    void ClearSender();
    // The action behind "Extract GEDCOM"; the button and its label are shown only when the
    // trailer allows extraction and an action is installed.
    void SetExtractHandler(std::function<void()> handler);
    // True while the "Web Site:" row is shown.
    bool WebSiteShown() const;
    // True while "Extract GEDCOM" is shown.
    bool ExtractShown() const;
    // The targets of the mail and web links ("" when absent).
    QString MailTarget() const { return m_mailUrl; }
    QString WebTarget() const { return m_webUrl; }

    void RefreshPage() override {}

  private:
    void UpdateExtract();
    QLabel* AddRow(const char* caption, const char* name);

    QGroupBox* m_group = nullptr;
    QFormLayout* m_form = nullptr;
    QLabel* m_fileName = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_name = nullptr;
    QLabel* m_email = nullptr;
    QLabel* m_address = nullptr;
    QLabel* m_web = nullptr;
    QLabel* m_phone = nullptr;
    QLabel* m_created = nullptr;
    QPlainTextEdit* m_message = nullptr;
    QLabel* m_extractLabel = nullptr;
    QPushButton* m_extractButton = nullptr;
    QTextBrowser* m_welcome = nullptr;
    QString m_mailUrl;
    QString m_webUrl;
    bool m_extractAllowed = false;
    std::function<void()> m_extract;
};

}  // namespace kindrel
