#include "app/dialogs/CommSettingsDlg.h"

#include "app/CommandIds.h"
#include "app/DialogUnits.h"
#include "app/WidgetText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "base/Decimal.h"
#include "settings/ProductName.h"
#include "settings/UserSettings.h"

namespace tickerlux::app {

namespace {

// The Connection list, in its order.
constexpr settings::ConnectionKind kConnectionKinds[] = {settings::ConnectionKind::ClassicSerial,
                                               settings::ConnectionKind::CustomSerial, settings::ConnectionKind::Usb};

using widgettext::FromBytes;
using widgettext::ToBytes;

// Selects the first entry that begins with `prefix`, ignoring case; nothing when none does or
// the prefix is empty.
void SelectPrefix(QComboBox* list, const QString& prefix)
{
    const int index = prefix.isEmpty() ? -1 : list->findText(prefix, Qt::MatchStartsWith);
    list->setCurrentIndex(index);
}

void SetEnabled(std::initializer_list<QComboBox*> lists, bool enabled)
{
    for (QComboBox* list : lists)
        list->setEnabled(enabled);
}

} // namespace

int CCommSettingsDlg::DecimalValue(const QString& text)
{
    return base::LeadingDecimal(ToBytes(text));
}

CCommSettingsDlg::CCommSettingsDlg(const settings::CommSettings& values, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_values(values)
{
    setWindowTitle(QStringLiteral("Communication Settings..."));
    CDialogLayout layout(this);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    layout.Place(ok, 309, 7, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    layout.Place(cancel, 309, 24, 50, 14);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // A list at (135, y), 110 units wide, with its right-aligned label 40..130 on its line.
    auto list = [&](int id, int y, const QString& label, bool editable, QStringList entries,
                    bool sorted, int labelDrop) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QString::number(id));
        combo->setEditable(editable);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // No completion: a typed "96" would show as "9600" while the value taken is 96.
        if (editable)
            combo->setCompleter(nullptr);
        if (sorted)
            entries.sort();
        combo->addItems(entries);
        combo->setCurrentIndex(-1);
        layout.Place(combo, 135, y, 110, 12);
        auto* caption = new QLabel(label, this);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        layout.Place(caption, 40, y + labelDrop, 90, 8);
        caption->setBuddy(combo);
        return combo;
    };
    m_comPort = list(ids::kComPort, 84, QStringLiteral("Comport:"), true,
                     {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                      QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")},
                     true, 2);
    m_baudRate = list(ids::kBaudRate, 104, QStringLiteral("Baud Rate:"), true, {QStringLiteral("9600")}, true, 2);
    m_byteSize = list(ids::kByteSize, 124, QStringLiteral("Byte Size:"), false,
                      {QStringLiteral(" "), QStringLiteral("7"), QStringLiteral("8")}, true, 2);
    m_protocol = list(ids::kProtocol, 44, QStringLiteral("Protocol:"), false, {QStringLiteral("alpha")}, true, 2);
    m_parity = list(ids::kParity, 144, QStringLiteral("Parity:"), false,
                    {QStringLiteral(" "), QStringLiteral("none"), QStringLiteral("even"), QStringLiteral("odd")},
                    false, 2);
    m_stopBits = list(ids::kStopBits, 164, QStringLiteral("Stop Bits:"), false,
                      {QStringLiteral(" "), QStringLiteral("1"), QStringLiteral("2")}, true, 2);
    QStringList kinds;
    for (const settings::ConnectionKind kind : kConnectionKinds)
        kinds << QString::fromLatin1(settings::ConnectionName(kind));
    m_connection = list(ids::kConnection, 63, QStringLiteral("Connection:"), false, kinds, false, 3);

    m_save = new QPushButton(
        QStringLiteral("Save Communication Settings To Registry (Current User Area)"), this);
    layout.Place(m_save, 135, 226, 224, 14);
    layout.Apply(366, 260);
    m_save->setObjectName(QString::number(ids::kSaveCommSettings));

    QWidget* order[] = {ok, cancel, m_comPort, m_baudRate, m_byteSize, m_protocol,
                        m_parity, m_stopBits, m_connection, m_save};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Only the user's own choices and typing reach the handlers.
    connect(m_connection, &QComboBox::activated, this, &CCommSettingsDlg::OnSelChangeConnection);
    connect(m_comPort, &QComboBox::activated, this,
            [this](int index) { m_values.ComPort = DecimalValue(m_comPort->itemText(index)); });
    connect(m_comPort->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { m_values.ComPort = DecimalValue(text); });
    connect(m_baudRate, &QComboBox::activated, this,
            [this](int index) { m_values.BaudRate = DecimalValue(m_baudRate->itemText(index)); });
    connect(m_baudRate->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { m_values.BaudRate = DecimalValue(text); });
    connect(m_byteSize, &QComboBox::activated, this,
            [this](int index) { m_values.ByteSize = DecimalValue(m_byteSize->itemText(index)); });
    connect(m_parity, &QComboBox::activated, this,
            [this](int index) {
                m_values.Parity = settings::ParityOf(ToBytes(m_parity->itemText(index)))
                                      .value_or(settings::Parity::Blank);
            });
    connect(m_stopBits, &QComboBox::activated, this,
            [this](int index) {
                m_values.StopBits = settings::StopBitsOf(DecimalValue(m_stopBits->itemText(index)))
                                        .value_or(settings::StopBits::Unset);
            });
    connect(m_save, &QPushButton::clicked, this, &CCommSettingsDlg::OnSaveToRegistry);

    OnInitDialog();
    ok->setFocus();
}

void CCommSettingsDlg::OnInitDialog()
{
    SelectPrefix(m_protocol, FromBytes(m_values.Protocol));
    SelectPrefix(m_connection, FromBytes(m_values.ConnectionText()));

    const settings::ConnectionKind kind = m_values.Connection;
    if (kind == settings::ConnectionKind::CustomSerial) {
        SetEnabled({m_stopBits, m_parity, m_comPort, m_byteSize, m_baudRate}, true);
        Fill();
    } else if (kind == settings::ConnectionKind::ClassicSerial) {
        m_protocol->setEnabled(false);
        SetEnabled({m_connection, m_comPort}, true);
        SetEnabled({m_stopBits, m_parity, m_byteSize, m_baudRate}, false);
        Fill();
    } else {
        m_protocol->setEnabled(false);
        m_connection->setEnabled(true);
        SetEnabled({m_stopBits, m_parity, m_comPort, m_byteSize, m_baudRate}, false);
    }
}

void CCommSettingsDlg::Fill()
{
    m_comPort->setEditText(QString::number(m_values.ComPort));
    ShowLine();
}

void CCommSettingsDlg::ShowLine()
{
    SelectPrefix(m_stopBits, QString::number(static_cast<int>(m_values.StopBits)));
    SelectPrefix(m_byteSize, QString::number(m_values.ByteSize));
    SelectPrefix(m_parity, FromBytes(settings::ParityName(m_values.Parity)));
    m_baudRate->setEditText(QString::number(m_values.BaudRate));
}

void CCommSettingsDlg::OnSelChangeConnection()
{
    const std::string chosen = ToBytes(m_connection->currentText().trimmed());
    const settings::ConnectionKind kind = settings::ConnectionKindOf(chosen);
    m_values.ChooseKind(kind);
    if (kind == settings::ConnectionKind::None)
        m_values.UnnamedConnection = chosen;
    m_protocol->setEnabled(false);
    m_connection->setEnabled(true);
    SetEnabled({m_comPort, m_stopBits, m_parity, m_byteSize, m_baudRate}, false);

    if (kind == settings::ConnectionKind::Usb) {
        m_comPort->setCurrentIndex(-1);
        m_comPort->setEditText(QString());
        m_baudRate->setCurrentIndex(-1);
        m_baudRate->setEditText(QString());
        m_stopBits->setCurrentIndex(m_stopBits->findText(QStringLiteral(" ")));
        m_byteSize->setCurrentIndex(m_byteSize->findText(QStringLiteral(" ")));
        m_parity->setCurrentIndex(m_parity->findText(QStringLiteral(" ")));
    } else if (kind == settings::ConnectionKind::ClassicSerial) {
        m_comPort->setEnabled(true);
        ShowLine();
    } else if (kind == settings::ConnectionKind::CustomSerial) {
        SetEnabled({m_comPort, m_stopBits, m_parity, m_byteSize, m_baudRate}, true);
    }
}

void CCommSettingsDlg::OnSaveToRegistry()
{
    // Stored as shown, a port below 1 raised to 1 (here too).
    if (m_values.ComPort < 1)
        m_values.ComPort = 1;
    const base::Failure failure = settings::UpdateUserSettings(
        [this](settings::UserSettings& stored) { stored.Comm = m_values; });
    if (failure.Failed())
        QMessageBox::warning(this, QString::fromLatin1(settings::kProductName),
                             QString::fromStdString("The communication settings could not be saved: " +
                                                    failure.Text() + "."));
}

} // namespace tickerlux::app
