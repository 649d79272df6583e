#pragma once

#include "headlines/HeadlineCandidates.h"

#include <QDialog>

#include <vector>

class QLabel;
class QTreeWidget;

namespace tickerlux::app {

// Options > Find Headlines: the ways found to get headlines from a page, best first, each with
// its headline count and first headlines, and the announced feeds left out with why. OK or a
// double-click chooses a way; the owner applies Chosen().
class CFindHeadlinesDlg : public QDialog {
    Q_OBJECT
public:
    // `candidates` as the search gave them, with at least one way that works.
    CFindHeadlinesDlg(const headlines::StoredAddress& page,
                      std::vector<headlines::HeadlineCandidate> candidates, QWidget* parent = nullptr);

    const headlines::HeadlineCandidate& Chosen() const;

private:
    // The candidate of the selected way (a headline stands for its way).
    int SelectedIndex() const;
    void ShowSettings();

    std::vector<headlines::HeadlineCandidate> m_candidates;
    QTreeWidget* m_ways = nullptr;
    QLabel* m_settings = nullptr;
};

} // namespace tickerlux::app
