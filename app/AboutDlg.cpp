#include "app/AboutDlg.h"

#include "app/DialogUnits.h"
#include "app/HyperlinkButton.h"
#include "app/Links.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("About Tickerlux"));
    const CDialogUnits du(font());
    setFixedSize(du.X(254), du.Y(161));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/res/app-icon.xpm")).pixmap(32, 32));
    icon->setGeometry(du.X(11), du.Y(17), 32, 32);

    auto label = [&](const QString& text, QRect where) {
        auto* item = new QLabel(text, this);
        item->setGeometry(where);
        return item;
    };
    label(QStringLiteral("Tickerlux version %1").arg(QStringLiteral(TICKERLUX_VERSION)),
          du.Rect(40, 10, 119, 8));
    label(QStringLiteral("Keeps an LED sign showing the news."), du.Rect(40, 25, 207, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(du.Rect(197, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    m_linkUpdates = new CHyperlinkButton(QString::fromLatin1(links::kUpdates), this);
    m_linkUpdates->setGeometry(du.Rect(7, 96, 240, 14));
    connect(m_linkUpdates, &QPushButton::clicked, this, [] { links::OpenLink(links::kUpdates); });

    label(QStringLiteral("Questions and ideas:"), du.Rect(40, 41, 96, 9));
    label(QStringLiteral("Check for updates at:"), du.Rect(7, 86, 168, 8));

    m_linkHome = new CHyperlinkButton(QString::fromLatin1(links::kHome), this);
    m_linkHome->setGeometry(du.Rect(7, 131, 240, 14));
    connect(m_linkHome, &QPushButton::clicked, this, [] { links::OpenLink(links::kHome); });

    label(QStringLiteral("Find other things at:"), du.Rect(7, 121, 168, 8));

    m_contact = new QLineEdit(QString::fromLatin1(links::kContact), this);
    m_contact->setReadOnly(true);
    m_contact->setGeometry(du.Rect(40, 55, 207, 14));

    // Tab order follows the template: OK, update link, home link, contact address.
    setTabOrder(ok, m_linkUpdates);
    setTabOrder(m_linkUpdates, m_linkHome);
    setTabOrder(m_linkHome, m_contact);
    ok->setFocus();
}
