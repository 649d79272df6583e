#pragma once

#include <QDialog>

class QLineEdit;

namespace tickerlux::app {

class CHyperlinkButton;

// Help > About: name and version, the contact address (selectable, read-only) and two links.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    CHyperlinkButton* HomeLink() const { return m_linkHome; }
    CHyperlinkButton* UpdatesLink() const { return m_linkUpdates; }
    QLineEdit* ContactEdit() const { return m_contact; }

private:
    CHyperlinkButton* m_linkHome = nullptr;
    CHyperlinkButton* m_linkUpdates = nullptr;
    QLineEdit* m_contact = nullptr;
};

} // namespace tickerlux::app
