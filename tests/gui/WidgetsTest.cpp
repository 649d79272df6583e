// The link button, the About box and the form's "See Also:" links.
#include "app/AboutDlg.h"
#include "app/HyperlinkButton.h"
#include "app/Links.h"
#include "app/TickerluxView.h"
#include "settings/UserSettings.h"
#include "tests/gui/GuiTest.h"

#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QUrl>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::app;
using namespace tickerlux::test;

namespace {

// Pixels of the picture that are exactly `color`.
int CountPixels(const QImage& image, QRgb color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == color ? 1 : 0;
    return count;
}

} // namespace

class WidgetsTest : public QObject {
    Q_OBJECT

    QStringList m_opened;

public slots:
    // Stands in for the browser: QDesktopServices hands every https address here.
    void openUrl(const QUrl& url) { m_opened << url.toString(); }

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler("https", this, "openUrl");
        CommSettings stored = Comm("alpha", "serial port - betabrite classic", 1, 9600, 7, "even", 1);
        QVERIFY(StoreComm(stored));
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler("https"); }

    void init() { m_opened.clear(); }

    void linkIsBlueWhenIdleAndRedWhilePressed()
    {
        CHyperlinkButton button("tickerlux.example.org");
        button.resize(200, 26);
        const QImage idle = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(CountPixels(idle, qRgb(0, 0, 255)) > 0);
        QCOMPARE(CountPixels(idle, qRgb(255, 0, 0)), 0);

        button.setDown(true);
        const QImage pressed = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(CountPixels(pressed, qRgb(255, 0, 0)) > 0);
        QCOMPARE(CountPixels(pressed, qRgb(0, 0, 255)), 0);
        QVERIFY(CHyperlinkButton::LinkFont().underline());
    }

    void longCaptionIsCutOnOneLine()
    {
        CHyperlinkButton button(QString(200, u'W'));
        button.resize(60, 26);
        const QImage image = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
        // Text runs to the right edge; the top and bottom rows stay the face colour (no wrap).
        int lastColumnInk = 0;
        for (int y = 0; y < image.height(); ++y)
            lastColumnInk += image.pixel(image.width() - 1, y) == qRgb(0, 0, 255) ? 1 : 0;
        QVERIFY(lastColumnInk > 0);
        for (int x = 0; x < image.width(); ++x) {
            QVERIFY(image.pixel(x, 0) != qRgb(0, 0, 255));
            QVERIFY(image.pixel(x, image.height() - 1) != qRgb(0, 0, 255));
        }
    }

    void pointerIsOurHandWithItsFingertipHotSpot()
    {
        CHyperlinkButton button("x");
        const QCursor cursor = button.cursor();
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.hotSpot(), QPoint(12, 9));
        QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
    }

    void aboutLinksOpenTheirPagesAndLeaveTheBoxOpen()
    {
        CAboutDlg about;
        about.show();
        QCOMPARE(about.windowTitle(), QString("About Tickerlux"));
        QTest::mouseClick(about.UpdatesLink(), Qt::LeftButton);
        QTest::mouseClick(about.HomeLink(), Qt::LeftButton);
        QCOMPARE(m_opened, (QStringList{links::kUpdates, links::kHome}));
        QVERIFY(about.isVisible());
        QCOMPARE(about.result(), 0);

        QLineEdit* contact = about.ContactEdit();
        QVERIFY(contact->isReadOnly());
        QCOMPARE(contact->text(), QString(links::kContact));
        TypeInto(contact, "x");
        QCOMPARE(contact->text(), QString(links::kContact));

        const QStringList texts = [&] {
            QStringList all;
            for (const QLabel* label : about.findChildren<QLabel*>())
                all << label->text();
            return all;
        }();
        QVERIFY(texts.contains(QStringLiteral("Tickerlux version " TICKERLUX_VERSION)));

        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
    }

    void seeAlsoLinksOpenTheirPages()
    {
        CTickerluxDoc doc;
        CTickerluxView view(doc, LoadUserSettings().settings);
        view.show();
        view.OnInitialUpdate();
        for (const char* id : {"1023", "1026", "1027"})
            QTest::mouseClick(view.findChild<CHyperlinkButton*>(id), Qt::LeftButton);
        QCOMPARE(m_opened, (QStringList{links::kHome, links::kFeeds, links::kShop}));
        QVERIFY(!doc.IsModified());
    }
};

TICKERLUX_GUI_TEST_MAIN(WidgetsTest)
#include "WidgetsTest.moc"
