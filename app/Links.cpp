#include "app/Links.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace tickerlux::app::links {

void OpenLink(const char* address)
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(address)));
}

} // namespace tickerlux::app::links
