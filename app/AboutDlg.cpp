#include "app/AboutDlg.h"

#include "app/CommandIds.h"

#include "app/DialogUnits.h"
#include "app/HyperlinkButton.h"
#include "app/Links.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tickerlux::app {

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("About Tickerlux"));
    CDialogLayout layout(this);

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/res/app-icon.xpm")).pixmap(32, 32));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout.Place(icon, 11, 17, 21, 20, false);

    auto label = [&](const QString& text, int x, int y, int w, int h) {
        layout.Place(new QLabel(text, this), x, y, w, h);
    };
    label(QStringLiteral("Tickerlux version %1").arg(QStringLiteral(TICKERLUX_VERSION)), 40, 10, 119, 8);
    label(QStringLiteral("Keeps an LED sign showing the news."), 40, 25, 207, 8);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    layout.Place(ok, 197, 7, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    m_linkUpdates = new CHyperlinkButton(QString::fromLatin1(links::kUpdates), this);
    m_linkUpdates->setObjectName(QString::number(ids::kAboutLinkUpdates));
    layout.Place(m_linkUpdates, 7, 96, 240, 14, false);
    connect(m_linkUpdates, &QPushButton::clicked, this, [] { links::OpenLink(links::kUpdates); });

    label(QStringLiteral("Questions and ideas:"), 40, 41, 96, 9);
    label(QStringLiteral("Check for updates at:"), 7, 86, 168, 8);

    m_linkHome = new CHyperlinkButton(QString::fromLatin1(links::kHome), this);
    m_linkHome->setObjectName(QString::number(ids::kAboutLinkHome));
    layout.Place(m_linkHome, 7, 131, 240, 14, false);
    connect(m_linkHome, &QPushButton::clicked, this, [] { links::OpenLink(links::kHome); });

    label(QStringLiteral("Find other things at:"), 7, 121, 168, 8);

    m_contact = new QLineEdit(QString::fromLatin1(links::kContact), this);
    m_contact->setObjectName(QString::number(ids::kAboutContact));
    m_contact->setReadOnly(true);
    layout.Place(m_contact, 40, 55, 207, 14, false);

    layout.Apply(254, 161);

    // Tab order follows the template: OK, update link, home link, contact address.
    setTabOrder(ok, m_linkUpdates);
    setTabOrder(m_linkUpdates, m_linkHome);
    setTabOrder(m_linkHome, m_contact);
    ok->setFocus();
}

} // namespace tickerlux::app
