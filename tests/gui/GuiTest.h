#pragma once

#include "settings/UserSettings.h"
#include "tests/support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>

namespace tickerlux::test {

// Communication settings from the texts the dialog lists (a parity or stop bits it does not
// list would be a mistake in the test).
inline settings::CommSettings Comm(const char* protocol, const char* connection, int port,
                                   int baudRate, int byteSize, const char* parity, int stopBits)
{
    settings::CommSettings comm;
    comm.Protocol = protocol;
    comm.Connection = settings::ConnectionKindOf(connection);
    if (comm.Connection == settings::ConnectionKind::None)
        comm.UnnamedConnection = connection;
    comm.ComPort = port;
    comm.BaudRate = baudRate;
    comm.ByteSize = byteSize;
    comm.Parity = settings::ParityOf(parity).value();
    comm.StopBits = settings::StopBitsOf(stopBits).value();
    return comm;
}

// Stores `comm` as the dialog's Save button does.
inline bool StoreComm(const settings::CommSettings& comm)
{
    return !settings::UpdateUserSettings([&](settings::UserSettings& s) { s.Comm = comm; })
                .Failed();
}

// Answers the modal windows that code under test opens, so that nothing blocks: each time a
// modal dialog or message box shows, `answer` runs on it from inside its own event loop.
class CModalWatcher : public QObject {
public:
    using Answer = std::function<void(QDialog*)>;

    explicit CModalWatcher(Answer answer) : m_answer(std::move(answer))
    {
        qApp->installEventFilter(this);
    }
    ~CModalWatcher() override { qApp->removeEventFilter(this); }

    // Message box texts and dialog classes, in the order they showed.
    QStringList shown;
    QStringList captions;

    // Clicks `button` on a message box; rejects any other dialog.
    static Answer Press(QMessageBox::StandardButton button)
    {
        return [button](QDialog* dialog) {
            if (auto* box = qobject_cast<QMessageBox*>(dialog); box && box->button(button))
                box->button(button)->click();
            else
                dialog->reject();
        };
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() != QEvent::Show || !dialog || !dialog->isModal())
            return false;
        const auto* box = qobject_cast<QMessageBox*>(dialog);
        shown.append(box ? box->text() : QString::fromLatin1(dialog->metaObject()->className()));
        captions.append(dialog->windowTitle());
        QPointer<QDialog> target = dialog;
        QTimer::singleShot(0, this, [this, target] {
            if (target)
                m_answer(target);
        });
        return false;
    }

private:
    Answer m_answer;
};

// Types `text` key by key into the widget with the focus, any Unicode character included.
inline void TypeKeys(QWidget* widget, const QString& text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Types into an edit box as the user would, key by key.
inline void TypeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    TypeKeys(edit, text);
}

// Empties an edit box with the keyboard.
inline void EraseAll(QLineEdit* edit)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
}

// A QtTest main with a per-user store of the program's own, offscreen by default.
#define TICKERLUX_GUI_TEST_MAIN(TestClass)                                  \
    int main(int argc, char* argv[])                                        \
    {                                                                       \
        CScopedConfigHome home;                                             \
        qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty()     \
                                       ? QByteArray("offscreen")            \
                                       : qgetenv("QT_QPA_PLATFORM"));       \
        QApplication app(argc, argv);                                       \
        TestClass test;                                                     \
        return QTest::qExec(&test, argc, argv);                             \
    }

} // namespace tickerlux::test
