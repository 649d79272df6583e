// The headline form against its document: change handlers, filling, colour, interval and timer.
#include "app/Links.h"
#include "app/TickerluxView.h"
#include "settings/UserSettings.h"
#include "tests/gui/GuiTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <memory>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::app;
using namespace tickerlux::test;

namespace {

// A document field by the name the code gives it, as bytes ("1" for flags and numbers).
QByteArray Field(const CTickerluxDoc& doc, const QString& name)
{
    if (name == "WebServer") return QByteArray::fromStdString(doc.WebServer);
    if (name == "WebPath") return QByteArray::fromStdString(doc.WebPath);
    if (name == "TextBefore") return QByteArray::fromStdString(doc.TextBefore);
    if (name == "TextAfter") return QByteArray::fromStdString(doc.TextAfter);
    if (name == "LeadingComment") return QByteArray::fromStdString(doc.LeadingComment);
    if (name == "UpdateMinutes") return QByteArray::fromStdString(doc.UpdateMinutes);
    if (name == "ColorIndex") return QByteArray::number(doc.ColorIndex);
    if (name == "Condensed") return QByteArray::number(doc.Condensed);
    if (name == "ShowTime") return QByteArray::number(doc.ShowTime);
    if (name == "AutoUpdate") return QByteArray::number(doc.AutoUpdate);
    qFatal("unknown field %s", qPrintable(name));
}

} // namespace

class ViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CTickerluxDoc> m_doc;
    std::unique_ptr<CTickerluxView> m_view;

    template <typename T>
    T* Control(int id) const
    {
        T* control = m_view->findChild<T*>(QString::number(id));
        if (!control)
            qFatal("no control %d", id);
        return control;
    }

    // Acts on the form as the user would: "type:TEXT" replaces an edit box's text key by key,
    // "erase" empties it, "key" presses the space bar on a check box or the down arrow in a list.
    void Act(int id, const QString& action)
    {
        QWidget* control = Control<QWidget>(id);
        QApplication::setActiveWindow(m_view.get());
        control->setFocus();
        if (action.startsWith("type:")) {
            QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
            TypeKeys(control, action.mid(5));
        } else if (action == "erase") {
            EraseAll(qobject_cast<QLineEdit*>(control));
        } else if (action == "key") {
            QTest::keyClick(control, qobject_cast<QComboBox*>(control) ? Qt::Key_Down : Qt::Key_Space);
        } else if (action != "none") {
            QFAIL(qPrintable("unknown action " + action));
        }
    }

private slots:
    void initTestCase()
    {
        // A stored connection: the form's first display opens no dialog.
        CommSettings stored = Comm("alpha", "serial port - betabrite classic", 1, 9600, 7, "even", 1);
        QVERIFY(StoreComm(stored));
    }

    void init()
    {
        m_doc = std::make_unique<CTickerluxDoc>();
        m_view = std::make_unique<CTickerluxView>(*m_doc, LoadUserSettings().settings);
        m_view->show();
        m_view->OnInitialUpdate();
        QVERIFY(!m_doc->IsModified());
    }

    void cleanup()
    {
        m_view.reset();
        m_doc.reset();
    }

    void changeHandlerSetsFieldAndModified_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("web server") << 1001 << "type:news.example.org" << "WebServer" << QByteArray("news.example.org");
        QTest::newRow("web path in Windows-1252") << 1002 << QString::fromUtf8("type:/caf\u00e9") << "WebPath"
                                                  << QByteArray("/caf\xe9");
        QTest::newRow("text before") << 1009 << "type:<h2>" << "TextBefore" << QByteArray("<h2>");
        QTest::newRow("text after") << 1010 << "type:</h2>" << "TextAfter" << QByteArray("</h2>");
        QTest::newRow("leading comment with euro sign") << 1011 << QString::fromUtf8("type:News \u20ac")
                                                        << "LeadingComment" << QByteArray("News \x80");
        QTest::newRow("interval") << 1008 << "type:45" << "UpdateMinutes" << QByteArray("45");
        QTest::newRow("color from Red to Yellow") << 1013 << "key" << "ColorIndex" << QByteArray("10");
        QTest::newRow("condensed") << 1014 << "key" << "Condensed" << QByteArray("1");
        QTest::newRow("show time") << 1019 << "key" << "ShowTime" << QByteArray("1");
        QTest::newRow("auto update") << 1007 << "key" << "AutoUpdate" << QByteArray("1");
    }

    void changeHandlerSetsFieldAndModified()
    {
        QFETCH(int, control);
        QFETCH(QString, action);
        QFETCH(QString, field);
        QFETCH(QByteArray, expected);
        Act(control, action);
        QCOMPARE(Field(*m_doc, field), expected);
        QVERIFY(m_doc->IsModified());
    }

    void fillingFromTheDocumentRunsNoHandler()
    {
        m_doc->WebServer = "a.example";
        m_doc->WebPath = "/x";
        m_doc->UpdateMinutes = "15abc";  // a handler would rewrite or restart nothing here
        m_doc->TextBefore = "<b>";
        m_doc->TextAfter = "</b>";
        m_doc->LeadingComment = "Caf\xe9";
        m_doc->ColorIndex = 3;
        m_doc->Condensed = 1;
        m_doc->ShowTime = 1;
        m_doc->AutoUpdate = 1;
        m_doc->SourceText = "<html>page</html>";
        m_doc->UpdateAllViews();

        QCOMPARE(Control<QLineEdit>(1001)->text(), QString("a.example"));
        QCOMPARE(Control<QLineEdit>(1008)->text(), QString("15abc"));
        QCOMPARE(Control<QLineEdit>(1011)->text(), QString::fromUtf8("Caf\u00e9"));
        QCOMPARE(Control<QComboBox>(1013)->currentText(), QString("Dim Green"));
        QVERIFY(Control<QCheckBox>(1014)->isChecked());
        QVERIFY(Control<QCheckBox>(1007)->isChecked());
        QCOMPARE(Control<QPlainTextEdit>(1021)->toPlainText(), QString("<html>page</html>"));
        QVERIFY(!m_doc->IsModified());
        QCOMPARE(m_doc->UpdateMinutes, std::string("15abc"));
        QVERIFY(!m_view->IsUpdateTimerRunning());
    }

    void colorIndexOutsideTheListShowsNoSelectionAndStays()
    {
        m_doc->ColorIndex = 11;
        m_view->OnInitialUpdate();
        QCOMPARE(Control<QComboBox>(1013)->currentIndex(), -1);
        Act(1001, "type:x");  // any handler reads the whole form back
        QCOMPARE(m_doc->ColorIndex, 11);
        QVERIFY(m_doc->IsModified());
    }

    void interval_data()
    {
        QTest::addColumn<int>("autoUpdate");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("timerMinutes");  // 0: no timer
        QTest::addColumn<int>("autoUpdateAfter");
        QTest::addColumn<bool>("modified");

        QTest::newRow("0 becomes 1 with auto-update off") << 0 << "60" << 1008 << "type:0" << "1" << 0 << 0 << true;
        QTest::newRow("6000 becomes 5000") << 0 << "60" << 1008 << "type:6000" << "5000" << 0 << 0 << true;
        QTest::newRow("letters become 1") << 0 << "60" << 1008 << "type:x" << "1" << 0 << 0 << true;
        QTest::newRow("15 with letters stays as typed") << 0 << "60" << 1008 << "type:15min" << "15min" << 0 << 0
                                                        << true;
        QTest::newRow("15 with letters is rewritten when ticked") << 0 << "15min" << 1007 << "key" << "15" << 15 << 1
                                                                  << true;
        QTest::newRow("15 with letters is rewritten on open with auto-update")
            << 1 << "15min" << 1008 << "none" << "15" << 15 << 1 << false;
        QTest::newRow("ticked with an empty box runs 60") << 0 << "" << 1007 << "key" << "60" << 60 << 1 << true;
        QTest::newRow("emptied while running stops the timer") << 1 << "30" << 1008 << "erase" << "" << 0 << 1 << true;
        QTest::newRow("typed while running restarts the timer") << 1 << "30" << 1008 << "type:45" << "45" << 45 << 1
                                                                << true;
        QTest::newRow("unticked stops the timer") << 1 << "30" << 1007 << "key" << "30" << 0 << 0 << true;
    }

    void interval()
    {
        QFETCH(int, autoUpdate);
        QFETCH(QString, text);
        QFETCH(int, control);
        QFETCH(QString, action);
        QFETCH(QString, shown);
        QFETCH(int, timerMinutes);
        QFETCH(int, autoUpdateAfter);
        QFETCH(bool, modified);

        m_doc->AutoUpdate = autoUpdate;
        m_doc->UpdateMinutes = text.toStdString();
        m_view->OnInitialUpdate();  // as after File > Open
        Act(control, action);

        QCOMPARE(Control<QLineEdit>(1008)->text(), shown);
        QCOMPARE(QString::fromStdString(m_doc->UpdateMinutes), shown);
        QCOMPARE(m_view->IsUpdateTimerRunning(), timerMinutes != 0);
        if (timerMinutes != 0)
            QCOMPARE(m_view->UpdateTimerPeriod(), std::chrono::milliseconds(std::chrono::minutes(timerMinutes)));
        QCOMPARE(m_doc->AutoUpdate, autoUpdateAfter);
        QCOMPARE(Control<QCheckBox>(1007)->isChecked(), autoUpdateAfter != 0);
        QCOMPARE(m_doc->IsModified(), modified);
    }

    void clearSourceWindowEmptiesItAndMarksModified()
    {
        m_doc->SourceText = "<html>page</html>";
        m_doc->UpdateAllViews();
        QTest::mouseClick(Control<QPushButton>(1012), Qt::LeftButton);
        QCOMPARE(Control<QPlainTextEdit>(1021)->toPlainText(), QString());
        QVERIFY(m_doc->SourceText.empty());
        QVERIFY(m_doc->IsModified());
    }

    // The form's 26 controls and the feed-items note: id (or "-" for a static), kind and caption.
    void controlsAndCaptions()
    {
        QStringList shown;
        for (QObject* child : m_view->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (!widget)
                continue;
            const QString id = widget->objectName().isEmpty() ? "-" : widget->objectName();
            QString caption;
            if (auto* label = qobject_cast<QLabel*>(widget))
                caption = label->text() + (label->alignment() & Qt::AlignRight ? " (right)" : "");
            else if (auto* button = qobject_cast<QAbstractButton*>(widget))
                caption = button->text();
            else if (auto* group = qobject_cast<QGroupBox*>(widget))
                caption = group->title();
            shown << QStringLiteral("%1 %2 %3").arg(id, widget->metaObject()->className(), caption).trimmed();
        }
        QStringList expected{
            "1001 QLineEdit",
            "1002 QLineEdit",
            "1013 QComboBox",
            "1008 QLineEdit",
            "1009 QLineEdit",
            "1010 QLineEdit",
            "1011 QLineEdit",
            "- QLabel Web Server: (right)",
            "- QLabel Directory/File on Website: (right)",
            "1003 QPushButton Update Sign Now",
            "1005 QPushButton Clear Sign",
            "1007 QCheckBox Auto Update Every:",
            "- QLabel min.",
            "- QLabel Text Before Headline: (right)",
            "- QLabel Text After Headline: (right)",
            "1006 QPushButton Update Source Only",
            "- QLabel Leading Comment: (right)",
            "1012 QPushButton Clear Source Window",
            "- QLabel Color: (right)",
            "- QLabel Headlines: the feed's items",
            "1014 QCheckBox Condensed Text",
            "1019 QCheckBox Show Time of Last Update",
            "1021 QPlainTextEdit",
            QStringLiteral("1023 tickerlux::app::CHyperlinkButton ") + links::kHomeCaption,
            "- QGroupBox See Also:",
            QStringLiteral("1026 tickerlux::app::CHyperlinkButton ") + links::kFeedsCaption,
            QStringLiteral("1027 tickerlux::app::CHyperlinkButton ") + links::kShopCaption,
        };
        // The group box sits behind the links it frames, which moves it in the child list.
        shown.sort();
        expected.sort();
        QCOMPARE(shown, expected);

        QStringList colors;
        for (int i = 0; i < Control<QComboBox>(1013)->count(); ++i)
            colors << Control<QComboBox>(1013)->itemText(i);
        QCOMPARE(colors, (QStringList{"Amber", "Autocolor", "Brown", "Dim Green", "Dim Red", "Green", "Orange",
                                      "Rainbow 1", "Rainbow 2", "Red", "Yellow"}));
    }

    void tabOrderFollowsTheForm()
    {
        const int expected[] = {1001, 1002, 1013, 1008, 1009, 1010, 1011, 1003, 1005,
                                1007, 1006, 1012, 1014, 1019, 1021, 1023, 1026, 1027};
        QWidget* current = Control<QWidget>(expected[0]);
        for (std::size_t i = 1; i < std::size(expected); ++i) {
            current = current->nextInFocusChain();
            while (current->focusPolicy() == Qt::NoFocus || current->objectName().isEmpty())
                current = current->nextInFocusChain();
            QCOMPARE(current->objectName(), QString::number(expected[i]));
        }
    }
};

TICKERLUX_GUI_TEST_MAIN(ViewTest)
#include "ViewTest.moc"
