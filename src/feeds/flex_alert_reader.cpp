#include "feeds/flex_alert_reader.h"

#include "core/plausible_values.h"
#include "core/text_helpers.h"
#include "feeds/operator_dates.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <functional>
#include <utility>

namespace voltwise {

namespace {

// The fields of one event or of the answer, by name, as texts.
using Fields = std::function<QString(QStringView name)>;

FlexAlertEvent EventFrom(const Fields &field)
{
    FlexAlertEvent event;
    event.id = WithoutDirectionControls(field(u"ID"));
    event.title = WithoutDirectionControls(field(u"Title")).trimmed();
    event.startText = WithoutDirectionControls(field(u"StartDate")).trimmed();
    event.endText = WithoutDirectionControls(field(u"EndDate")).trimmed();
    event.start = ReadOperatorDate(event.startText);
    event.end = ReadOperatorDate(event.endText);
    static const QRegularExpression separators(QStringLiteral("[;,]"));
    for (const QString &region :
         WithoutDirectionControls(field(u"Region")).split(separators, Qt::SkipEmptyParts))
        if (!region.trimmed().isEmpty())
            event.regions << region.trimmed();
    return event;
}

QString JsonText(const QJsonValue &value)
{
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 15);
    if (value.isBool())
        return value.toBool() ? u"true"_qs : u"false"_qs;
    return value.toString();
}

QList<FlexAlertEvent> JsonEvents(const QJsonValue &list)
{
    QList<FlexAlertEvent> events;
    for (const QJsonValue item : list.toArray()) {
        if (!item.isObject())
            continue;
        const QJsonObject object = item.toObject();
        events << EventFrom([&](QStringView name) { return JsonText(object.value(name)); });
    }
    return events;
}

std::optional<FlexAlertEvents> ReadJson(const QJsonObject &json)
{
    const QStringList known{u"IsFlexAlertActive"_qs, u"Active"_qs, u"Future"_qs};
    if (std::none_of(known.begin(), known.end(),
                     [&](const QString &k) { return json.contains(k); }))
        return std::nullopt;
    FlexAlertEvents events;
    const QJsonValue active = json.value(u"IsFlexAlertActive");
    events.isActive = active.isBool() ? active.toBool() : active.toString() == u"true";
    events.updatedOn = ReadOperatorDate(json.value(u"UpdatedOn").toString());
    events.active = JsonEvents(json.value(u"Active"));
    events.future = JsonEvents(json.value(u"Future"));
    return events;
}

// Child elements of the current element as name -> text; nested ones skipped.
QHash<QString, QString> XmlFields(QXmlStreamReader &xml)
{
    QHash<QString, QString> fields;
    while (xml.readNextStartElement()) {
        const QString name = xml.name().toString();
        fields.insert(name, xml.readElementText(QXmlStreamReader::SkipChildElements));
    }
    return fields;
}

std::optional<FlexAlertEvents> ReadXml(QByteArrayView body)
{
    QXmlStreamReader xml(body.toByteArray());
    if (!xml.readNextStartElement() || xml.name() != u"ActiveFlexAlertEventsDTO")
        return std::nullopt;
    FlexAlertEvents events;
    while (xml.readNextStartElement()) {
        const QString name = xml.name().toString();
        if (name == u"Active" || name == u"Future") {
            QList<FlexAlertEvent> &list = name == u"Active" ? events.active : events.future;
            while (xml.readNextStartElement()) {
                const QHash<QString, QString> fields = XmlFields(xml);
                list << EventFrom([&](QStringView n) { return fields.value(n.toString()); });
            }
        } else {
            const QString text = xml.readElementText(QXmlStreamReader::SkipChildElements);
            if (name == u"IsFlexAlertActive")
                events.isActive = text.trimmed() == u"true";
            else if (name == u"UpdatedOn")
                events.updatedOn = ReadOperatorDate(text);
        }
    }
    if (xml.hasError())
        return std::nullopt;
    return events;
}

QString ImplausibleTime(const FlexAlertEvents &events, const QDateTime &operatorNow)
{
    for (const QList<FlexAlertEvent> *list : {&events.active, &events.future})
        for (const FlexAlertEvent &e : *list)
            for (const auto &[time, text] : {std::pair(e.start, e.startText), {e.end, e.endText}})
                if (time && !IsPlausibleTime(*time, operatorNow, kPlausibleNoticeDays))
                    return u"implausible time %1 of Flex Alert %2"_qs.arg(text, e.id);
    return {};
}

} // namespace

std::optional<FlexAlertEvents> ReadFlexAlertEvents(QByteArrayView body,
                                                   const QDateTime &operatorNow, QString *problem)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body.toByteArray(), &error);
    std::optional<FlexAlertEvents> events;
    if (error.error == QJsonParseError::NoError)
        events = document.isObject() ? ReadJson(document.object()) : std::nullopt;
    else if (body.trimmed().startsWith("<"))
        events = ReadXml(body);
    else {
        *problem = u"not valid JSON"_qs;
        return std::nullopt;
    }
    if (!events) {
        *problem = u"no Flex Alert events"_qs;
        return std::nullopt;
    }
    if (QString why = ImplausibleTime(*events, operatorNow); !why.isEmpty()) {
        *problem = why;
        return std::nullopt;
    }
    return events;
}

} // namespace voltwise
