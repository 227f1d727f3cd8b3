#include "feeds/operator_words.h"

#include <QRegularExpression>

#include <algorithm>

namespace voltwise {

namespace {

// Lower case, runs of blanks as one, dashes of any kind as "-".
QString Normalised(QStringView word)
{
    QString text = word.toString().toLower().simplified();
    for (QChar &c : text)
        if (c == u'\u2010' || c == u'\u2011' || c == u'\u2012' || c == u'\u2013' ||
            c == u'\u2014' || c == u'\u2212')
            c = u'-';
    return text;
}

// "EEA 3", "EEA3", "Energy Emergency Alert (EEA) 3", "Stage 3", each with
// an optional tail such as " - Ordering rotating power outages".
const QRegularExpression &EmergencyPattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^(?:eea|energy emergency alert(?: \(eea\))?|stage) ?([123])(?![0-9])(.*)$)"));
    return pattern;
}

// "Ordering rotating power outages", "Ordering", "rotating outages in
// progress", the older "Stage 3 Load Interruptions"; not "rotating outages
// have not been ordered".
bool OrdersOutages(QStringView tail)
{
    static const QRegularExpression negated(QStringLiteral(R"(\bnot\b|n't\b)"));
    static const QRegularExpression ordering(QStringLiteral(R"(\border)"));
    if (tail.contains(negated))
        return false;
    const bool outages = tail.contains(u"outage") || tail.contains(u"interruption");
    return tail.contains(ordering) || tail.contains(u"load interruption") ||
           (outages && tail.contains(u"in progress"));
}

} // namespace

std::optional<ConditionLevel> LevelOfOperatorWord(QStringView word)
{
    const QString text = Normalised(word);
    if (text == u"normal")
        return LevelNormal;
    if (text == u"restricted maintenance operations" || text == u"flex alert")
        return LevelAlert;
    if (text == u"eea watch" || text == u"energy emergency alert watch" ||
        text.startsWith(u"transmission emergency"))
        return LevelWarning;
    const QRegularExpressionMatch match = EmergencyPattern().match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QStringView tail = match.capturedView(2);
    // Only a tail after a separator: "stage 1x" is no stage.
    if (!tail.isEmpty() && tail.front().isLetterOrNumber())
        return std::nullopt;
    switch (match.capturedView(1).front().unicode()) {
    case u'1':
        return LevelStage1;
    case u'2':
        return LevelStage2;
    default:
        return OrdersOutages(tail) ? LevelLoadInterruptions : LevelStage3;
    }
}

std::optional<ConditionLevel> LevelOfOperatorWords(const QStringList &words)
{
    std::optional<ConditionLevel> level;
    for (const QString &word : words)
        if (const auto known = LevelOfOperatorWord(word))
            level = level ? std::max(*level, *known) : *known;
    return level;
}

bool IsFlexAlertWord(QStringView word)
{
    return Normalised(word) == u"flex alert";
}

QString OperatorStatusText(const QStringList &words)
{
    return words.join(u", "_qs);
}

} // namespace voltwise
