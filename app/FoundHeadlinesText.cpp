#include "app/FoundHeadlinesText.h"

#include "app/WidgetText.h"
#include "engine/HeadlineChoice.h"

#include <QStringList>

namespace tickerlux::app::foundtext {

using headlines::HeadlineCandidate;
using widgettext::FromBytes;

QString Way(const HeadlineCandidate& candidate)
{
    return FromBytes(engine::DescribeCandidate(candidate)) + QStringLiteral(": ") +
           QString::fromStdString(engine::HeadlineCount(candidate.headlineCount));
}

QString Settings(const HeadlineCandidate& candidate)
{
    QStringList settings;
    for (const engine::FieldSetting& setting : engine::ChoiceSettings(candidate))
        settings << QString::fromLatin1(setting.name.data(), qsizetype(setting.name.size())) + u'=' +
                        FromBytes(setting.value1252);
    return settings.join(QStringLiteral("  "));
}

QString LeftOut(const HeadlineCandidate& candidate)
{
    return QString::fromStdString(headlines::FullAddress(candidate.address)) + QStringLiteral(": ") +
           FromBytes(candidate.leftOutBecause);
}

QString NothingFound(const engine::JobOutcome& found)
{
    if (const base::Failure* failure = found.steps.FailureOf(engine::Step::Fetch)) {
        return QStringLiteral("The page could not be downloaded: ") +
               QString::fromStdString(failure->Cause()) + u'.';
    }
    const std::string why(engine::kNoHeadlinesFound);
    QString text = QString::fromStdString(why).replace(0, 1, QChar(why[0]).toUpper()) + u'.';
    for (const HeadlineCandidate& candidate : found.candidates)
        text += QStringLiteral("\nLeft out: ") + LeftOut(candidate);
    return text;
}

QString Chose(const HeadlineCandidate& candidate)
{
    return QStringLiteral("Chose ") + FromBytes(engine::DescribeCandidate(candidate)) + QStringLiteral(", ") +
           QString::fromStdString(engine::HeadlineCount(candidate.headlineCount));
}

} // namespace tickerlux::app::foundtext
