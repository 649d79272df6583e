// The Communication Settings dialog: enabling rules, fixed values of each kind, the decimal value
// rule, Save to the per-user store, and OK / Cancel through the form.
#include "app/TickerluxView.h"
#include "app/dialogs/CommSettingsDlg.h"
#include "settings/UserSettings.h"
#include "tests/gui/GuiTest.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::app;
using namespace tickerlux::test;

Q_DECLARE_METATYPE(tickerlux::settings::CommSettings)

namespace {

constexpr const char* kClassic = "serial port - betabrite classic";
constexpr const char* kCustom = "serial port - custom settings";
constexpr const char* kUsb = "usb - betabrite prism";

QString Describe(const CommSettings& v)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
        .arg(QString::fromStdString(v.Protocol), QString::fromStdString(v.ConnectionText()))
        .arg(v.ComPort)
        .arg(v.BaudRate)
        .arg(v.ByteSize)
        .arg(QString::fromLatin1(ParityName(v.Parity)))
        .arg(static_cast<int>(v.StopBits));
}

// Picks an entry the way a mouse user does: from the opened list.
void Choose(QComboBox* list, const QString& entry)
{
    const int index = list->findText(entry, Qt::MatchExactly);
    QVERIFY2(index >= 0, qPrintable("no entry " + entry));
    list->showPopup();
    QAbstractItemView* popup = list->view();
    popup->setCurrentIndex(list->model()->index(index, 0));
    QTest::keyClick(popup, Qt::Key_Return);
}

void Type(QComboBox* list, const QString& text)
{
    // The box has the keyboard focus as when the user types, with all that comes with it.
    QApplication::setActiveWindow(list->window());
    list->setFocus();
    QTest::keyClick(list->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    TypeKeys(list->lineEdit(), text);
}

// Protocol, Connection, Comport, Baud Rate, Byte Size, Parity, Stop Bits: "1" enabled, "0" not.
QString Enabled(const CCommSettingsDlg& dlg)
{
    QString flags;
    for (const QComboBox* list : {dlg.ProtocolList(), dlg.ConnectionList(), dlg.ComPortList(), dlg.BaudRateList(),
                                  dlg.ByteSizeList(), dlg.ParityList(), dlg.StopBitsList()})
        flags += list->isEnabled() ? u'1' : u'0';
    return flags;
}

// What each list shows, in the same order.
QString Shown(const CCommSettingsDlg& dlg)
{
    QStringList texts;
    for (const QComboBox* list : {dlg.ProtocolList(), dlg.ConnectionList(), dlg.ComPortList(), dlg.BaudRateList(),
                                  dlg.ByteSizeList(), dlg.ParityList(), dlg.StopBitsList()})
        texts << list->currentText();
    return texts.join(u'|');
}

CommSettings Stored()
{
    const UserSettings stored = LoadUserSettings().settings;
    if (stored.Comm.HasConnection())
        return stored.Comm;
    CommSettings none;
    none.ComPort = none.BaudRate = none.ByteSize = -1;
    return none;
}

} // namespace

class CommSettingsDlgTest : public QObject {
    Q_OBJECT

private slots:
    void dialog_data()
    {
        QTest::addColumn<CommSettings>("initial");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<CommSettings>("expected");
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("storedPort");  // -1: nothing saved

        const CommSettings fresh = Comm("alpha", "", 1, 9600, 7, "even", 1);
        const CommSettings classic = Comm("alpha", kClassic, 3, 9600, 7, "even", 1);
        const CommSettings custom = Comm("alpha", kCustom, 2, 19200, 8, "none", 2);
        const CommSettings usb = Comm("alpha", kUsb, 0, 0, 0, "", 0);

        QTest::newRow("first start: only the connection list, nothing filled")
            << fresh << QStringList{} << fresh << "0100000" << "alpha||||||" << -1;
        QTest::newRow("first start, custom chosen: serial lists enabled and not filled")
            << fresh << QStringList{QStringLiteral("connection=") + kCustom}
            << Comm("alpha", kCustom, 1, 9600, 7, "even", 1) << "0111111"
            << QStringLiteral("alpha|%1|||||").arg(kCustom) << -1;
        QTest::newRow("opened with custom: everything enabled and filled")
            << custom << QStringList{} << custom << "1111111"
            << QStringLiteral("alpha|%1|2|19200|8|none|2").arg(kCustom) << -1;
        QTest::newRow("custom, any connection choice disables the protocol")
            << custom << QStringList{QStringLiteral("connection=") + kCustom} << custom << "0111111"
            << QStringLiteral("alpha|%1|2|19200|8|none|2").arg(kCustom) << -1;
        QTest::newRow("opened with classic: only the port besides the connection")
            << classic << QStringList{} << classic << "0110000"
            << QStringLiteral("alpha|%1|3|9600|7|even|1").arg(kClassic) << -1;
        QTest::newRow("classic after custom fixes 9600 7 even 1, keeps the port")
            << custom << QStringList{QStringLiteral("connection=") + kClassic}
            << Comm("alpha", kClassic, 2, 9600, 7, "even", 1) << "0110000"
            << QStringLiteral("alpha|%1|2|9600|7|even|1").arg(kClassic) << -1;
        QTest::newRow("usb zeroes the serial values")
            << classic << QStringList{QStringLiteral("connection=") + kUsb} << usb << "0100000"
            << QStringLiteral("alpha|%1||| | | ").arg(kUsb) << -1;
        QTest::newRow("classic after usb keeps port 0; Save stores and keeps 1")
            << usb << QStringList{QStringLiteral("connection=") + kClassic, "save"}
            << Comm("alpha", kClassic, 1, 9600, 7, "even", 1) << "0110000"
            << QStringLiteral("alpha|%1||9600|7|even|1").arg(kClassic) << 1;
        QTest::newRow("port typed as 12") << custom << QStringList{"port-type=12"}
                                          << Comm("alpha", kCustom, 12, 19200, 8, "none", 2) << "1111111"
                                          << QStringLiteral("alpha|%1|12|19200|8|none|2").arg(kCustom) << -1;
        QTest::newRow("port typed as letters gives 0")
            << custom << QStringList{"port-type=ab"} << Comm("alpha", kCustom, 0, 19200, 8, "none", 2)
            << "1111111" << QStringLiteral("alpha|%1|ab|19200|8|none|2").arg(kCustom) << -1;
        QTest::newRow("baud rate typed as 96 stays 96, not completed to 9600")
            << custom << QStringList{"baud-type=96"} << Comm("alpha", kCustom, 2, 96, 8, "none", 2)
            << "1111111" << QStringLiteral("alpha|%1|2|96|8|none|2").arg(kCustom) << -1;
        QTest::newRow("the blank parity entry gives one space")
            << custom << QStringList{"parity= "} << Comm("alpha", kCustom, 2, 19200, 8, " ", 2) << "1111111"
            << QStringLiteral("alpha|%1|2|19200|8| |2").arg(kCustom) << -1;
        QTest::newRow("lists chosen and baud rate typed, then saved")
            << custom << QStringList{"port=5", "baud-type= 4800x", "bytes=7", "stop=1", "parity=odd", "save"}
            << Comm("alpha", kCustom, 5, 4800, 7, "odd", 1) << "1111111"
            << QStringLiteral("alpha|%1|5| 4800x|7|odd|1").arg(kCustom) << 5;
    }

    void dialog()
    {
        QFETCH(CommSettings, initial);
        QFETCH(QStringList, steps);
        QFETCH(CommSettings, expected);
        QFETCH(QString, enabled);
        QFETCH(QString, shown);
        QFETCH(int, storedPort);

        CScopedConfigHome home;
        CCommSettingsDlg dlg(initial);
        dlg.show();
        for (const QString& step : steps) {
            const QString value = step.section(u'=', 1);
            if (step.startsWith("connection="))
                Choose(dlg.ConnectionList(), value);
            else if (step.startsWith("port="))
                Choose(dlg.ComPortList(), value);
            else if (step.startsWith("port-type="))
                Type(dlg.ComPortList(), value);
            else if (step.startsWith("baud-type="))
                Type(dlg.BaudRateList(), value);
            else if (step.startsWith("bytes="))
                Choose(dlg.ByteSizeList(), value);
            else if (step.startsWith("parity="))
                Choose(dlg.ParityList(), value);
            else if (step.startsWith("stop="))
                Choose(dlg.StopBitsList(), value);
            else if (step == "save")
                QTest::mouseClick(dlg.SaveButton(), Qt::LeftButton);
            else
                QFAIL(qPrintable("unknown step " + step));
        }

        QCOMPARE(Describe(dlg.Values()), Describe(expected));
        QCOMPARE(Enabled(dlg), enabled);
        QCOMPARE(Shown(dlg), shown);
        if (storedPort < 0) {
            QCOMPARE(Stored().ConnectionText(), std::string());
        } else {
            CommSettings stored = expected;
            stored.ComPort = storedPort;
            QCOMPARE(Describe(Stored()), Describe(stored));
        }
    }

    // Buttons and lists in tab order; each list with its label, entries and whether one can type.
    void controlsInTabOrder()
    {
        CScopedConfigHome home;
        CCommSettingsDlg dlg(Comm("alpha", kCustom, 2, 9600, 7, "even", 1));
        QStringList shown;
        QWidget* control = dlg.findChild<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
        for (int i = 0; i < 10; ++i) {
            if (auto* button = qobject_cast<QPushButton*>(control)) {
                shown << button->text();
            } else if (auto* list = qobject_cast<QComboBox*>(control)) {
                QString label;
                for (const QLabel* caption : dlg.findChildren<QLabel*>())
                    if (caption->buddy() == list)
                        label = caption->text();
                QStringList entries;
                for (int e = 0; e < list->count(); ++e)
                    entries << "[" + list->itemText(e) + "]";
                shown << QStringLiteral("%1 %2 %3%4").arg(list->objectName(), label, entries.join(u','),
                                                          list->isEditable() ? " editable" : "");
            }
            control = control->nextInFocusChain();
            while (control->focusPolicy() == Qt::NoFocus || control->parentWidget() != &dlg)
                control = control->nextInFocusChain();
        }
        QCOMPARE(shown, (QStringList{
                            "OK",
                            "Cancel",
                            "1032 Comport: [1],[2],[3],[4],[5],[6],[7],[8] editable",
                            "1033 Baud Rate: [9600] editable",
                            "1034 Byte Size: [ ],[7],[8]",
                            "1035 Protocol: [alpha]",
                            "1036 Parity: [ ],[none],[even],[odd]",
                            "1037 Stop Bits: [ ],[1],[2]",
                            "1038 Connection: [serial port - betabrite classic],[serial port - custom settings],"
                            "[usb - betabrite prism]",
                            "Save Communication Settings To Registry (Current User Area)",
                        }));
    }

    // Enter presses the button that has the focus; elsewhere it is OK.
    void enterKey_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("result");  // -1: the dialog stays open
        QTest::addColumn<bool>("saved");
        QTest::newRow("on a list: OK") << "1038" << int(QDialog::Accepted) << false;
        QTest::newRow("on Cancel: Cancel") << "Cancel" << int(QDialog::Rejected) << false;
        QTest::newRow("on Save: saves and stays open") << "1039" << -1 << true;
    }

    void enterKey()
    {
        QFETCH(QString, focus);
        QFETCH(int, result);
        QFETCH(bool, saved);
        CScopedConfigHome home;
        CCommSettingsDlg dlg(Comm("alpha", kClassic, 3, 9600, 7, "even", 1));
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        QWidget* target = dlg.findChild<QWidget*>(focus);
        for (QPushButton* button : dlg.findChildren<QPushButton*>())
            if (button->text() == focus)
                target = button;
        QVERIFY(target);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QCOMPARE(dlg.isVisible(), result < 0);
        if (result >= 0)
            QCOMPARE(dlg.result(), result);
        QCOMPARE(Stored().ConnectionText(), saved ? std::string(kClassic) : std::string());
    }

    void decimalValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("digits") << "9600" << 9600;
        QTest::newRow("blank entry") << " " << 0;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("space, sign and trailing text") << "  -12x" << -12;
        QTest::newRow("beyond the int range") << "99999999999999999999" << 2147483647;
    }

    void decimalValue()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(CCommSettingsDlg::DecimalValue(text), value);
    }

    // Through the form: Save then Cancel keeps the document, OK hands the values over unmarked.
    void saveThenCancelAndOkThroughTheForm()
    {
        CScopedConfigHome home;
        CommSettings stored = Comm("alpha", kClassic, 4, 9600, 7, "even", 1);
        QVERIFY(StoreComm(stored));
        CTickerluxDoc doc;
        CTickerluxView view(doc, LoadUserSettings().settings);
        view.show();
        view.OnInitialUpdate();
        QCOMPARE(doc.Comm.ComPort, 4);

        bool ok = false;
        CModalWatcher watcher([&ok](QDialog* dialog) {
            auto* dlg = qobject_cast<CCommSettingsDlg*>(dialog);
            Choose(dlg->ConnectionList(), QString::fromLatin1(kUsb));
            if (ok) {
                dlg->accept();
                return;
            }
            QTest::mouseClick(dlg->SaveButton(), Qt::LeftButton);
            dlg->reject();
        });
        view.OnCommunicationSettings();
        QCOMPARE(watcher.captions, QStringList{"Communication Settings..."});
        QCOMPARE(doc.Comm.ConnectionText(), std::string(kClassic));
        QCOMPARE(doc.Comm.ComPort, 4);
        QCOMPARE(Describe(Stored()), Describe(Comm("alpha", kUsb, 1, 0, 0, "", 0)));

        ok = true;
        view.OnCommunicationSettings();
        QCOMPARE(Describe(doc.Comm),
                 Describe(Comm("alpha", kUsb, 0, 0, 0, "", 0)));
        QVERIFY(!doc.IsModified());
    }
};

TICKERLUX_GUI_TEST_MAIN(CommSettingsDlgTest)
#include "CommSettingsDlgTest.moc"
