#include "app/TickerluxView.h"

#include "app/CommandIds.h"
#include "app/DialogUnits.h"
#include "app/HyperlinkButton.h"
#include "app/Links.h"
#include "app/WidgetText.h"
#include "app/FoundHeadlinesText.h"
#include "app/dialogs/CommSettingsDlg.h"
#include "app/dialogs/FindHeadlinesDlg.h"
#include "engine/HeadlineChoice.h"
#include "engine/UpdateInterval.h"
#include "headlines/WebAddress.h"
#include "settings/ProductName.h"
#include "sign/SignColors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <utility>

namespace tickerlux::app {

namespace {

using widgettext::FromBytes;
using widgettext::ToBytes;

// Writes a text into an edit box only when it differs, so that the box keeps its cursor and its
// undo history while the user types.
void ShowText(QLineEdit* edit, const std::string& bytes)
{
    const QString text = FromBytes(bytes);
    if (edit->text() != text)
        edit->setText(text);
}

// How many characters an edit put in: the new text less what it shares with the old at both
// ends. A typed key puts in one; a paste or a drop, as many as it brings.
qsizetype Inserted(const QString& before, const QString& after)
{
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return after.size() - head - tail;
}

bool MarkersEmpty(const settings::FeedFieldValues& values)
{
    return values.TextBefore.empty() && values.TextAfter.empty();
}

} // namespace

CTickerluxView::CTickerluxView(settings::CTickerluxDoc& doc, const settings::UserSettings& stored,
                               QWidget* parent)
    : QWidget(parent), m_doc(doc), m_storedComm(stored.Comm),
      m_jobs([this](const engine::JobProgress& progress) { OnJobProgress(progress); },
             [this](const engine::JobOutcome& outcome) { ApplyJobOutcome(outcome); })
{
    CreateControls();
    ConnectHandlers();
    // Whole-second accuracy: a coarse timer could be minutes off at these periods.
    m_updateTimer.setTimerType(Qt::VeryCoarseTimer);
    connect(&m_updateTimer, &QTimer::timeout, this, [this] { OnTimer(ids::kUpdateTimerId); });
    m_doc.AddObserver(this);
    m_headlineCleanup = stored.HeadlineCleanup;
}

CTickerluxView::~CTickerluxView()
{
    m_doc.RemoveObserver(this);
}

void CTickerluxView::CreateControls()
{
    CDialogLayout layout(this);
    auto named = [](auto* control, int id) {
        control->setObjectName(QString::number(id));
        return control;
    };
    // A feed field's control, with the field table's id, bound to the field.
    auto bound = [&](auto* control, std::string_view name) {
        const settings::FeedField& field = settings::FeedFieldNamed(name);
        m_bound.push_back({&field, named(control, field.controlId)});
        return control;
    };
    auto caption = [](std::string_view name) {
        return QString::fromUtf8(settings::FeedFieldNamed(name).label);
    };
    auto edit = [&](std::string_view name, int x, int y, int w, int h) {
        auto* box = bound(new QLineEdit(this), name);
        layout.Place(box, x, y, w, h, false);
        return box;
    };
    auto label = [&](const QString& text, int x, int y, int w, int h, bool right) {
        auto* item = new QLabel(text, this);
        item->setAlignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        layout.Place(item, x, y, w, h);
    };
    auto button = [&](int id, const QString& text, int x, int y, int w, int h) {
        auto* push = named(new QPushButton(text, this), id);
        layout.Place(push, x, y, w, h);
        return push;
    };
    auto check = [&](std::string_view name, int x, int y, int w, int h) {
        auto* box = bound(new QCheckBox(caption(name), this), name);
        layout.Place(box, x, y, w, h);
        return box;
    };
    // Link captions are cut at the right edge rather than widening the form.
    auto link = [&](int id, const char* text, int x, int y, int w, int h) {
        auto* linkButton = named(new CHyperlinkButton(QString::fromUtf8(text), this), id);
        layout.Place(linkButton, x, y, w, h, false);
        return linkButton;
    };

    m_webServerEdit = edit("WebServer", 98, 13, 261, 12);
    m_webPathEdit = edit("WebPath", 98, 29, 261, 12);

    m_colorList = bound(new QComboBox(this), "ColorIndex");
    for (const sign::SignColor& color : sign::kColors)
        m_colorList->addItem(QString::fromLatin1(color.name));
    m_colorList->setCurrentIndex(-1);
    layout.Place(m_colorList, 98, 60, 79, 138);

    m_updateMinutesEdit = edit("UpdateMinutes", 281, 44, 47, 12);
    m_textBeforeEdit = edit("TextBefore", 98, 209, 261, 12);
    m_textAfterEdit = edit("TextAfter", 98, 224, 261, 12);
    m_leadingCommentEdit = edit("LeadingComment", 98, 239, 261, 12);
    label(caption("WebServer"), 49, 16, 46, 8, true);
    label(caption("WebPath"), 11, 31, 84, 8, true);
    m_updateSignNow = button(ids::kUpdateSignNow, QStringLiteral("Update Sign Now"), 7, 96, 79, 18);
    m_clearSign = button(ids::kClearSign, QStringLiteral("Clear Sign"), 98, 96, 79, 18);
    m_autoUpdateCheck = check("AutoUpdate", 195, 46, 81, 8);
    label(caption("UpdateMinutes"), 334, 46, 25, 8, false);
    label(caption("TextBefore"), 7, 211, 83, 8, true);
    label(caption("TextAfter"), 7, 226, 83, 8, true);
    m_updateSourceOnly =
        button(ids::kUpdateSourceOnly, QStringLiteral("Update Source Only"), 189, 96, 79, 18);
    label(caption("LeadingComment"), 7, 241, 83, 8, true);
    m_clearSourceWindow =
        button(ids::kClearSourceWindow, QStringLiteral("Clear Source Window"), 280, 96, 79, 18);
    label(caption("ColorIndex"), 65, 62, 30, 8, true);
    m_condensedCheck = check("Condensed", 195, 62, 82, 8);
    m_showTimeCheck = check("ShowTime", 195, 78, 102, 8);
    // In space the form leaves free, so that no control moves.
    m_feedItemsNote = new QLabel(QStringLiteral("Headlines: the feed's items"), this);
    layout.Place(m_feedItemsNote, 7, 80, 170, 8);

    m_sourceWindow = named(new QPlainTextEdit(this), ids::kSourceWindow);
    m_sourceWindow->setReadOnly(true);
    m_sourceWindow->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_sourceWindow->setTabChangesFocus(true);
    layout.Place(m_sourceWindow, 7, 121, 352, 82, false);

    m_linkHome = link(ids::kLinkHome, links::kHomeCaption, 166, 267, 127, 14);
    auto* seeAlso = new QGroupBox(QStringLiteral("See Also:"), this);
    // A plain frame with its title on the line, and no fill of its own around the links.
    seeAlso->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
    layout.Place(seeAlso, 7, 259, 351, 27, false);
    seeAlso->lower();  // behind the link buttons it frames, so that they take the clicks
    m_linkOther = link(ids::kLinkOther, links::kFeedsCaption, 50, 267, 109, 14);
    m_linkShop = link(ids::kLinkShop, links::kShopCaption, 299, 267, 50, 14);

    layout.Apply(366, 294);

    QWidget* tabOrder[] = {m_webServerEdit,    m_webPathEdit,      m_colorList,        m_updateMinutesEdit,
                           m_textBeforeEdit,   m_textAfterEdit,    m_leadingCommentEdit, m_updateSignNow,
                           m_clearSign,        m_autoUpdateCheck,  m_updateSourceOnly, m_clearSourceWindow,
                           m_condensedCheck,   m_showTimeCheck,    m_sourceWindow,     m_linkHome,
                           m_linkOther,        m_linkShop};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void CTickerluxView::ConnectHandlers()
{
    const settings::FeedField* autoUpdate = &settings::FeedFieldNamed("AutoUpdate");
    const settings::FeedField* updateMinutes = &settings::FeedFieldNamed("UpdateMinutes");
    for (const BoundControl& bound : m_bound) {
        auto handler = [this, field = bound.field, autoUpdate, updateMinutes] {
            if (field == autoUpdate)
                OnAutoUpdate();
            else if (field == updateMinutes)
                OnChangeUpdateMinutes();
            else
                OnChangeField(*field);
        };
        // Edits report every change, UpdateData's own writes too: those are filtered out here.
        // Clicks and list choices come only from the user.
        if (auto* edit = qobject_cast<QLineEdit*>(bound.control))
            connect(edit, &QLineEdit::textChanged, this, [this, handler] {
                if (!m_exchanging)
                    handler();
            });
        else if (auto* box = qobject_cast<QCheckBox*>(bound.control))
            connect(box, &QCheckBox::clicked, this, handler);
        else if (auto* list = qobject_cast<QComboBox*>(bound.control))
            connect(list, &QComboBox::activated, this, handler);
    }

    connect(m_webServerEdit, &QLineEdit::textEdited, this, &CTickerluxView::OnWebServerEdited);
    // Queued, like a paste: a box left as the window closes loses its focus while the window
    // goes, when no job may start.
    connect(m_webServerEdit, &QLineEdit::editingFinished, this, &CTickerluxView::OnWebServerEntered,
            Qt::QueuedConnection);
    connect(m_updateSignNow, &QPushButton::clicked, this, &CTickerluxView::OnUpdateSignNow);
    connect(m_clearSign, &QPushButton::clicked, this, &CTickerluxView::OnClearSign);
    connect(m_updateSourceOnly, &QPushButton::clicked, this, &CTickerluxView::OnUpdateSourceOnly);
    connect(m_clearSourceWindow, &QPushButton::clicked, this, &CTickerluxView::OnClearSourceWindow);
    connect(m_linkHome, &QPushButton::clicked, this, [] { links::OpenLink(links::kHome); });
    connect(m_linkOther, &QPushButton::clicked, this, [] { links::OpenLink(links::kFeeds); });
    connect(m_linkShop, &QPushButton::clicked, this, [] { links::OpenLink(links::kShop); });
}

void CTickerluxView::UpdateData(bool saveAndValidate)
{
    if (saveAndValidate) {
        for (const BoundControl& bound : m_bound) {
            const settings::FeedField& field = *bound.field;
            if (auto* edit = qobject_cast<QLineEdit*>(bound.control))
                field.Text1252(m_form) = ToBytes(edit->text());
            else if (auto* box = qobject_cast<QCheckBox*>(bound.control))
                field.SetNumber(m_form, box->isChecked() ? 1 : 0);
            else if (auto* list = qobject_cast<QComboBox*>(bound.control))
                field.SetNumber(m_form, list->currentIndex());
        }
        // The source window is read-only: nothing the user can change there to read back.
        return;
    }

    m_exchanging = true;
    for (const BoundControl& bound : m_bound) {
        const settings::FeedField& field = *bound.field;
        if (auto* edit = qobject_cast<QLineEdit*>(bound.control)) {
            ShowText(edit, field.Text1252(m_form));
        } else if (auto* box = qobject_cast<QCheckBox*>(bound.control)) {
            box->setChecked(field.Number(m_form) != 0);
        } else if (auto* list = qobject_cast<QComboBox*>(bound.control)) {
            // An index outside the list shows no selection.
            const int index = field.Number(m_form);
            list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
        }
    }
    m_webServerText = m_webServerEdit->text();
    m_webServerSettled = m_form.WebServer;
    m_feedItemsNote->setVisible(m_form.HeadlineSource == settings::kHeadlinesFromFeedItems);
    const QString source = FromBytes(m_sourceText);
    if (m_sourceWindow->toPlainText() != source)
        m_sourceWindow->setPlainText(source);
    m_exchanging = false;
}

void CTickerluxView::OnInitialUpdate()
{
    ++m_documentOpenings;
    // The form shows the document; the frame keeps the fixed size that fits the form.
    OnDocumentUpdate(nullptr, 0);
    RestartUpdateTimer();
    UpdateData(false);

    if (m_storedCommTaken)
        return;
    m_storedCommTaken = true;
    LoadCommSettings();
}

void CTickerluxView::LoadCommSettings()
{
    if (m_storedComm.HasConnection())
        m_doc.Comm = m_storedComm;
    else
        OnCommunicationSettings();
}

void CTickerluxView::OnDocumentUpdate(settings::IDocumentObserver* /*sender*/, long /*hint*/)
{
    m_form = m_doc;
    m_sourceText = m_doc.SourceText;
    UpdateData(false);
    update();
    emit SignLineChanged();
}

void CTickerluxView::OnChangeField(const settings::FeedField& field)
{
    UpdateData(true);
    field.Copy(m_form, m_doc);
    m_doc.SetModifiedFlag(true);
    // A box or a list may change how the sign line looks; a typed text shows only on the next
    // update.
    if (field.Type() != settings::FieldType::Text1252)
        emit SignLineChanged();
}

void CTickerluxView::OnWebServerEdited(const QString& text)
{
    const QString before = std::exchange(m_webServerText, text);
    // Queued: the box is changed again and a message may show, which its own signal must not see.
    if (Inserted(before, text) > 1 && text.contains(QStringLiteral("://")))
        QMetaObject::invokeMethod(this, &CTickerluxView::OnWebServerEntered, Qt::QueuedConnection);
}

void CTickerluxView::OnWebServerEntered()
{
    const QString text = m_webServerEdit->text().trimmed();
    if (!isVisible() || ToBytes(text) == m_webServerSettled || !text.contains(QStringLiteral("://")))
        return;
    const headlines::ParsedAddress parsed = headlines::ParseWebAddress(text.toStdString());
    if (parsed.failure.Failed()) {
        // The box goes back to the server it named before the address.
        m_doc.WebServer = m_webServerSettled;
        m_form.WebServer = m_webServerSettled;
        UpdateData(false);
        ShowMessage(QStringLiteral("This address cannot be used: ") +
                    QString::fromStdString(parsed.failure.systemText) + u'.');
        return;
    }
    m_doc.WebServer = parsed.address.webServer;
    // An address without a path only names the server: the path already there stays.
    const qsizetype host = text.indexOf(QStringLiteral("://")) + 3;
    if (text.indexOf(u'/', host) >= 0 || text.indexOf(u'?', host) >= 0 || m_doc.WebPath.empty())
        m_doc.WebPath = parsed.address.webPath;
    m_doc.SetModifiedFlag(true);
    m_doc.UpdateAllViews();
    if (MarkersEmpty(m_doc) && m_doc.HeadlineSource == settings::kHeadlinesFromMarkers &&
        StartJob(engine::RequestFrom(m_doc, engine::JobCommand::FindHeadlines)))
        m_jobTakesBest = true;
}

// --- Auto-update timer.

std::chrono::milliseconds CTickerluxView::UpdateTimerPeriod() const
{
    return std::chrono::milliseconds(m_updateTimer.interval());
}

void CTickerluxView::StartUpdateTimer(int minutes)
{
    // Starting a running timer replaces it with the new period.
    m_updateTimer.start(engine::interval::TimerPeriod(minutes));
    m_timerId = ids::kUpdateTimerId;
}

void CTickerluxView::KillUpdateTimer()
{
    if (m_timerId != 0) {
        m_updateTimer.stop();
        m_timerId = 0;
    }
}

int CTickerluxView::GetUpdateMinutes()
{
    UpdateData(true);
    const engine::interval::UpdateMinutes result = engine::interval::GetUpdateMinutes(m_doc.UpdateMinutes);
    if (result.rewritten) {
        m_form.UpdateMinutes = m_doc.UpdateMinutes;
        UpdateData(false);
    }
    return result.minutes;
}

void CTickerluxView::StartAutoUpdate()
{
    const int minutes = GetUpdateMinutes();
    m_doc.UpdateMinutes = std::to_string(minutes);
    m_doc.UpdateAllViews();
    StartUpdateTimer(minutes);
}

void CTickerluxView::RestartUpdateTimer()
{
    UpdateData(true);
    KillUpdateTimer();
    if (m_form.AutoUpdate)
        StartAutoUpdate();
}

void CTickerluxView::OnAutoUpdate()
{
    UpdateData(true);
    m_doc.AutoUpdate = m_form.AutoUpdate;
    m_doc.SetModifiedFlag(true);
    if (m_form.AutoUpdate)
        StartAutoUpdate();
    else
        KillUpdateTimer();
}

void CTickerluxView::OnChangeUpdateMinutes()
{
    UpdateData(true);
    m_doc.UpdateMinutes = m_form.UpdateMinutes;
    KillUpdateTimer();
    // Checked and corrected even with auto-update off; an emptied box means no timer for now.
    const bool hasText = !m_doc.UpdateMinutes.empty();
    const int minutes = hasText ? GetUpdateMinutes() : 0;
    if (m_form.AutoUpdate && hasText)
        StartUpdateTimer(minutes);
    m_doc.SetModifiedFlag(true);
}

void CTickerluxView::OnTimer(int id)
{
    if (id == ids::kUpdateTimerId)
        OnUpdateSignNow();
}

// --- Buttons.

void CTickerluxView::OnUpdateSignNow()
{
    StartJob(engine::RequestFrom(m_doc, engine::JobCommand::UpdateSignNow));
}

void CTickerluxView::OnClearSign()
{
    StartJob(engine::RequestFrom(m_doc, engine::JobCommand::ClearSign));
}

void CTickerluxView::OnUpdateSourceOnly()
{
    StartJob(engine::RequestFrom(m_doc, engine::JobCommand::UpdateSourceOnly));
}

void CTickerluxView::OnClearSourceWindow()
{
    m_doc.SourceText.clear();
    UpdateData(false);
    m_doc.SetModifiedFlag(true);
    m_doc.UpdateAllViews();
}

void CTickerluxView::OnFindHeadlines()
{
    StartJob(engine::RequestFrom(m_doc, engine::JobCommand::FindHeadlines));
}

void CTickerluxView::OnCommunicationSettings()
{
    CCommSettingsDlg dialog(m_doc.Comm, window());
    if (dialog.exec() == QDialog::Accepted)
        m_doc.Comm = dialog.Values();
}

void CTickerluxView::OnHeadlineCleanup(bool on)
{
    m_headlineCleanup = on;
    // The switch still holds for this session.
    const base::Failure failure =
        settings::UpdateUserSettings([on](settings::UserSettings& stored) { stored.HeadlineCleanup = on; });
    if (failure.Failed())
        ShowStoreFailure("The Clean Up Headlines setting could not be saved", failure);
}

void CTickerluxView::ShowStoreFailure(const std::string& what, const base::Failure& failure)
{
    ShowMessage(QString::fromStdString(what + ": " + failure.Text() + "."));
}

// --- Jobs.

bool CTickerluxView::StartJob(engine::JobRequest request)
{
    if (m_jobRunning)
        return false;
    request.headlineCleanup = m_headlineCleanup;
    const engine::JobCommand command = request.command;
    if (!m_jobs.Start(std::move(request)))
        return false;
    m_jobRunning = true;
    m_jobWaiting = jobstatus::Waiting::No;
    m_jobAbandoned = false;
    m_jobDocument = m_documentOpenings;
    m_jobComm = m_doc.Comm;
    m_jobTakesBest = false;
    // The first stage, until the worker reports.
    m_jobProgress = {};
    if (command == engine::JobCommand::ClearSign)
        m_jobProgress.stage = engine::JobStage::Clearing;
    else if (command == engine::JobCommand::SendLine)
        m_jobProgress.stage = engine::JobStage::Sending;
    ShowJobRunning(true);
    ShowJobStatus();
    return true;
}

void CTickerluxView::StopJob(jobstatus::Waiting why)
{
    if (!m_jobRunning || m_jobAbandoned)
        return;
    m_jobs.RequestStop();
    m_jobWaiting = std::max(m_jobWaiting, why);
    ShowJobStatus();
}

void CTickerluxView::AbandonJob()
{
    if (!m_jobRunning)
        return;
    m_jobAbandoned = true;
    m_jobs.Abandon();
}

void CTickerluxView::OnJobProgress(const engine::JobProgress& progress)
{
    if (m_jobAbandoned)
        return;
    // Finishing only confirms a stop; the status keeps the stage it stopped in.
    if (progress.stage == engine::JobStage::Finishing)
        m_jobWaiting = std::max(m_jobWaiting, jobstatus::Waiting::Stop);
    else
        m_jobProgress = progress;
    ShowJobStatus();
}

void CTickerluxView::ShowJobStatus()
{
    emit JobStatusChanged(jobstatus::StageText(m_jobProgress, m_jobWaiting), jobstatus::Percent(m_jobProgress));
}

void CTickerluxView::ShowJobRunning(bool running)
{
    for (QPushButton* command : {m_updateSignNow, m_clearSign, m_updateSourceOnly})
        command->setEnabled(!running);
    // Over the form only: the rest of the window stays as usable as ever.
    if (running)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void CTickerluxView::ApplyJobOutcome(const engine::JobOutcome& outcome)
{
    ShowJobRunning(false);
    if (m_jobAbandoned) {  // the window has closed
        m_jobRunning = false;
        emit JobEnded(jobstatus::OutcomeText(outcome));
        return;
    }
    engine::JobOutcome applied = outcome;
    // The page belongs to the feed it was read for, not to one opened meanwhile, and a stopped
    // download leaves the source window as it was; line settings the user has chosen meanwhile
    // stay.
    if (m_jobDocument != m_documentOpenings || outcome.stopped)
        applied.pageFetched = false;
    if (m_doc.Comm != m_jobComm)
        applied.lineUsed.reset();
    engine::ApplyOutcome(applied, m_doc);
    // Only the commands that build a line change it; a stopped download built none.
    const engine::JobCommand command = outcome.command;
    if ((command == engine::JobCommand::UpdateSignNow || command == engine::JobCommand::UpdateSourceOnly ||
         command == engine::JobCommand::SendLine) &&
        !outcome.stopped)
        m_signLine = outcome.line;
    m_doc.UpdateAllViews();
    // Its messages and dialog come while the job still counts as running, so that a timer tick
    // meanwhile is skipped.
    if (command == engine::JobCommand::FindHeadlines && !outcome.stopped && m_jobDocument == m_documentOpenings) {
        ApplyFoundHeadlines(outcome);
    } else {
        emit JobEnded(jobstatus::OutcomeText(outcome));
        // One box per message, in order.
        for (const std::string& message : outcome.messages)
            MessageBox(message);
    }
    m_jobRunning = false;
    if (m_jobWaiting == jobstatus::Waiting::Close)
        QMetaObject::invokeMethod(window(), &QWidget::close, Qt::QueuedConnection);
}

void CTickerluxView::ApplyFoundHeadlines(const engine::JobOutcome& found)
{
    // Markers typed or another address given meanwhile are the user's choice and stay.
    if (m_jobTakesBest && (!MarkersEmpty(m_doc) || m_doc.WebServer != found.searched.webServer ||
                           m_doc.WebPath != found.searched.webPath)) {
        emit JobEnded(jobstatus::OutcomeText(found));
        return;
    }
    const headlines::HeadlineCandidate* best = engine::BestCandidate(found.candidates);
    if (!best) {
        const QString why = foundtext::NothingFound(found);
        emit JobEnded(why.left(why.indexOf(u'\n')));
        ShowMessage(m_jobTakesBest ? why + QStringLiteral("\n\nThe address is stored; the headline "
                                                         "source and markers are as they were.")
                                   : why);
        return;
    }
    if (m_jobTakesBest) {
        engine::ApplyBestFound(found, m_doc);
        emit JobEnded(foundtext::Chose(*best));
    } else {
        emit JobEnded(jobstatus::OutcomeText(found));
        CFindHeadlinesDlg dialog(found.searched, found.candidates, window());
        if (dialog.exec() != QDialog::Accepted)
            return;
        engine::ApplyCandidate(dialog.Chosen(), m_doc);
    }
    m_doc.SetModifiedFlag(true);
    m_doc.UpdateAllViews();
}

// --- What the user is told.

void CTickerluxView::MessageBox(const std::string& text)
{
    ShowMessage(FromBytes(text));
}

void CTickerluxView::ShowMessage(const QString& text)
{
    // Messages come with an OK button and no icon.
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(settings::kProductName), text, QMessageBox::Ok,
                    window());
    box.exec();
}

} // namespace tickerlux::app
