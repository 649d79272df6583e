#pragma once

#include "settings/CommSettings.h"

#include <QDialog>

class QComboBox;
class QPushButton;

namespace tickerlux::app {

// Options > Communication Settings: how the sign is reached. Edits a copy of the communication
// settings; the owner takes Values() back on OK. "Save ..." writes the values shown to the
// per-user store.
class CCommSettingsDlg : public QDialog {
    Q_OBJECT
public:
    // `values` are the document's settings (texts in Windows-1252).
    explicit CCommSettingsDlg(const settings::CommSettings& values, QWidget* parent = nullptr);

    const settings::CommSettings& Values() const { return m_values; }

    QComboBox* StopBitsList() const { return m_stopBits; }
    QComboBox* ProtocolList() const { return m_protocol; }
    QComboBox* ParityList() const { return m_parity; }
    QComboBox* ConnectionList() const { return m_connection; }
    QComboBox* ComPortList() const { return m_comPort; }
    QComboBox* ByteSizeList() const { return m_byteSize; }
    QComboBox* BaudRateList() const { return m_baudRate; }
    QPushButton* SaveButton() const { return m_save; }

    // "The decimal value of a text": the leading digits after optional white space and one sign;
    // 0 when there are none, saturated at the int range.
    static int DecimalValue(const QString& text);

private:
    void OnInitDialog();
    void Fill();
    // Shows the line values (speed, data bits, parity, stop bits) in their lists.
    void ShowLine();
    void OnSelChangeConnection();
    void OnSaveToRegistry();

    QComboBox* m_stopBits = nullptr;
    QComboBox* m_protocol = nullptr;
    QComboBox* m_parity = nullptr;
    QComboBox* m_connection = nullptr;
    QComboBox* m_comPort = nullptr;
    QComboBox* m_byteSize = nullptr;
    QComboBox* m_baudRate = nullptr;
    QPushButton* m_save = nullptr;

    settings::CommSettings m_values;
};

} // namespace tickerlux::app
