#include "app/dialogs/FindHeadlinesDlg.h"

#include "app/FoundHeadlinesText.h"
#include "app/WidgetText.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tickerlux::app {

namespace {

constexpr int kCandidateRole = Qt::UserRole;

} // namespace

CFindHeadlinesDlg::CFindHeadlinesDlg(const headlines::StoredAddress& page,
                                     std::vector<headlines::HeadlineCandidate> candidates, QWidget* parent)
    : QDialog(parent), m_candidates(std::move(candidates))
{
    setWindowTitle(QStringLiteral("Find Headlines"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Ways to get headlines from %1, best first:")
                                 .arg(QString::fromStdString(headlines::FullAddress(page))),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_ways = new QTreeWidget(this);
    m_ways->setHeaderHidden(true);
    m_ways->setRootIsDecorated(false);
    m_ways->setMinimumSize(520, 260);
    QStringList leftOut;
    for (std::size_t i = 0; i < m_candidates.size(); ++i) {
        const headlines::HeadlineCandidate& candidate = m_candidates[i];
        if (!candidate.leftOutBecause.empty()) {
            leftOut << foundtext::LeftOut(candidate);
            continue;
        }
        auto* way = new QTreeWidgetItem(m_ways, {foundtext::Way(candidate)});
        way->setData(0, kCandidateRole, int(i));
        way->setToolTip(0, QString::fromStdString(headlines::FullAddress(candidate.address)));
        QFont bold = way->font(0);
        bold.setBold(true);
        way->setFont(0, bold);
        for (const std::string& headline : candidate.firstHeadlines) {
            auto* line = new QTreeWidgetItem(way, {widgettext::FromBytes(headline)});
            line->setFlags(Qt::ItemIsEnabled);  // the way is what is chosen
        }
    }
    m_ways->expandAll();
    m_ways->setCurrentItem(m_ways->topLevelItem(0));
    layout->addWidget(m_ways);

    m_settings = new QLabel(this);
    m_settings->setWordWrap(true);
    m_settings->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_settings);
    if (!leftOut.isEmpty()) {
        auto* left = new QLabel(QStringLiteral("Left out:\n") + leftOut.join(u'\n'), this);
        left->setWordWrap(true);
        layout->addWidget(left);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_ways, &QTreeWidget::currentItemChanged, this, &CFindHeadlinesDlg::ShowSettings);
    connect(m_ways, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        m_ways->setCurrentItem(item->parent() ? item->parent() : item);
        accept();
    });
    ShowSettings();
}

int CFindHeadlinesDlg::SelectedIndex() const
{
    const QTreeWidgetItem* item = m_ways->currentItem();
    if (item && item->parent())
        item = item->parent();
    return item ? item->data(0, kCandidateRole).toInt() : 0;
}

const headlines::HeadlineCandidate& CFindHeadlinesDlg::Chosen() const
{
    return m_candidates[std::size_t(SelectedIndex())];
}

void CFindHeadlinesDlg::ShowSettings()
{
    m_settings->setText(QStringLiteral("Choosing it sets: ") + foundtext::Settings(Chosen()));
}

} // namespace tickerlux::app
