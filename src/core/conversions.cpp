#include "core/conversions.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

#include <array>
#include <cmath>
#include <memory>

namespace voltwise {

namespace {

constexpr qsizetype kMaxDateTextLength = 64;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u00a0';
}

QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// Other scripts' digits would read as 0 and make a wrong date.
bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isSpaceLike(QChar c)
{
    return c.isSpace() || c == u'\u202f' || c == u'\u00a0';
}

struct Token
{
    enum Kind
    {
        Number,
        Word,
        Separator
    } kind;
    QStringView text;
};

// Splits into digit runs, letter runs and single separator characters;
// fails on anything else, so hostile text stops early.
std::optional<QList<Token>> tokenize(QStringView text)
{
    QList<Token> tokens;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        qsizetype j = i + 1;
        if (isAsciiDigit(c)) {
            while (j < text.size() && isAsciiDigit(text[j]))
                ++j;
            tokens.append({Token::Number, text.sliced(i, j - i)});
        } else if (c.isLetter()) {
            while (j < text.size() && (text[j].isLetter() || text[j] == u'.'))
                ++j;
            QStringView word = text.sliced(i, j - i);
            while (word.endsWith(u'.'))
                word.chop(1);
            tokens.append({Token::Word, word});
        } else if (isSpaceLike(c) || c == u'/' || c == u'-' || c == u'.' || c == u',' ||
                   c == u':') {
            tokens.append({Token::Separator, text.sliced(i, 1)});
        } else {
            return std::nullopt;
        }
        i = j;
    }
    return tokens;
}

enum class DateOrder
{
    MonthDayYear,
    DayMonthYear,
    YearMonthDay
};

DateOrder dateOrder(const QLocale &locale)
{
    // The C locale names its months; numeric dates there are read the POSIX
    // way, month first.
    if (locale.language() == QLocale::C)
        return DateOrder::MonthDayYear;
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype day = format.indexOf(u'd');
    const qsizetype month = format.indexOf(u'M');
    const qsizetype year = format.indexOf(u'y');
    if (year >= 0 && (day < 0 || year < day) && (month < 0 || year < month))
        return DateOrder::YearMonthDay;
    if (day >= 0 && month >= 0 && day < month)
        return DateOrder::DayMonthYear;
    return DateOrder::MonthDayYear;
}

QString shortDateFormatWithFullYear(const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    format.replace(twoDigitYear, QStringLiteral("yyyy"));
    return format;
}

QString longTimeFormatWithoutZone(const QLocale &locale)
{
    // Drop the time-zone field, but not a "t" inside quoted literal text.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (c == u't' && !quoted)
            continue;
        result.append(c);
    }
    return result.trimmed();
}

// What the conversions look up in a locale, gathered once per locale: the
// look-ups build their texts afresh on every call.
struct LocaleTexts
{
    QLocale locale;
    std::array<QString, 12> longMonths; // lower case, without a closing "."
    std::array<QString, 12> shortMonths;
    QString am; // lower case
    QString pm;
    DateOrder order;
    QString shortDateFormat; // with a four-digit year
    QString longTimeFormat;  // without time zone
};

QString monthNameToMatch(const QLocale &locale, int month, QLocale::FormatType format)
{
    QString name = locale.monthName(month, format).toLower();
    while (name.endsWith(u'.'))
        name.chop(1);
    return name;
}

const LocaleTexts &textsOf(const QLocale &locale)
{
    // A few locales at most: the operator's and the user's.
    constexpr qsizetype kKept = 8;
    thread_local QList<std::shared_ptr<const LocaleTexts>> kept;
    for (const auto &texts : kept)
        if (texts->locale == locale)
            return *texts;
    auto texts = std::make_shared<LocaleTexts>();
    texts->locale = locale;
    for (int m = 0; m < 12; ++m) {
        texts->longMonths[m] = monthNameToMatch(locale, m + 1, QLocale::LongFormat);
        texts->shortMonths[m] = monthNameToMatch(locale, m + 1, QLocale::ShortFormat);
    }
    texts->am = locale.amText().toLower();
    texts->pm = locale.pmText().toLower();
    texts->order = dateOrder(locale);
    texts->shortDateFormat = shortDateFormatWithFullYear(locale);
    texts->longTimeFormat = longTimeFormatWithoutZone(locale);
    if (kept.size() == kKept)
        kept.removeFirst();
    kept.append(texts);
    return *texts;
}

int monthFromName(QStringView word, const LocaleTexts &texts)
{
    static const std::array<const char16_t *, 12> english = {
        u"january", u"february", u"march",     u"april",   u"may",      u"june",
        u"july",    u"august",   u"september", u"october", u"november", u"december"};
    const QString lower = word.toString().toLower();
    if (lower.size() < 3)
        return 0;
    for (int m = 0; m < 12; ++m) {
        const QStringView name(english[m]);
        if (lower == name || lower == name.first(3) || (lower == u"sept" && m == 8))
            return m + 1;
    }
    for (int m = 0; m < 12; ++m)
        if (lower == texts.longMonths[m] || lower == texts.shortMonths[m])
            return m + 1;
    return 0;
}

enum class Meridiem
{
    None,
    Am,
    Pm
};

Meridiem meridiemFromWord(QStringView word, const LocaleTexts &texts)
{
    const QString lower = word.toString().toLower();
    if (lower == u"am" || lower == u"a" || lower == texts.am)
        return Meridiem::Am;
    if (lower == u"pm" || lower == u"p" || lower == texts.pm)
        return Meridiem::Pm;
    return Meridiem::None;
}

int fullYear(QStringView digits)
{
    const int year = digits.toInt();
    if (digits.size() > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

QDate makeDate(int year, int month, int day)
{
    return QDate(year, month, day);
}

std::optional<QTime> readTime(const QList<QStringView> &parts, Meridiem meridiem)
{
    const int hour = parts[0].toInt();
    const int minute = parts.size() > 1 ? parts[1].toInt() : 0;
    const int second = parts.size() > 2 ? parts[2].toInt() : 0;
    int hour24 = hour;
    if (meridiem != Meridiem::None) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour24 = hour % 12 + (meridiem == Meridiem::Pm ? 12 : 0);
    }
    if (hour24 > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return QTime(hour24, minute, second);
}

std::optional<QDate> readDate(const QList<QStringView> &numbers, int namedMonth,
                              DateOrder localeOrder)
{
    if (namedMonth > 0) {
        if (numbers.size() != 2)
            return std::nullopt;
        const bool yearFirst = numbers[0].size() > 2 || numbers[0].toInt() > 31;
        const QStringView day = yearFirst ? numbers[1] : numbers[0];
        const QStringView year = yearFirst ? numbers[0] : numbers[1];
        const QDate date = makeDate(fullYear(year), namedMonth, day.toInt());
        return date.isValid() ? std::optional(date) : std::nullopt;
    }
    if (numbers.size() != 3)
        return std::nullopt;
    DateOrder order = localeOrder;
    if (numbers[0].size() > 2)
        order = DateOrder::YearMonthDay;
    int year = 0, month = 0, day = 0;
    switch (order) {
    case DateOrder::MonthDayYear:
        month = numbers[0].toInt(), day = numbers[1].toInt(), year = fullYear(numbers[2]);
        break;
    case DateOrder::DayMonthYear:
        day = numbers[0].toInt(), month = numbers[1].toInt(), year = fullYear(numbers[2]);
        break;
    case DateOrder::YearMonthDay:
        year = fullYear(numbers[0]), month = numbers[1].toInt(), day = numbers[2].toInt();
        break;
    }
    QDate date = makeDate(year, month, day);
    if (!date.isValid() && order != DateOrder::YearMonthDay)
        date = makeDate(year, day, month); // day and month the other way round
    return date.isValid() ? std::optional(date) : std::nullopt;
}

QString normaliseSpaces(QString text)
{
    text.replace(u'\u202f', u' ');
    return text;
}

} // namespace

std::optional<double> TextToNumber(QStringView text, const QLocale &locale)
{
    const QStringView trimmed = trimBlanks(text);
    if (trimmed.isEmpty() || trimmed.size() > 64)
        return std::nullopt;
    bool ok = false;
    double value = locale.toDouble(trimmed, &ok);
    if (!ok && isSpaceLike(locale.groupSeparator().front())) {
        // Locales that group with a narrow space also see plain spaces typed.
        QString regrouped = trimmed.toString();
        for (QChar &c : regrouped)
            if (isSpaceLike(c))
                c = locale.groupSeparator().front();
        value = locale.toDouble(regrouped, &ok);
    }
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<OleDate> TextToDate(QStringView text, const QLocale &locale)
{
    const QStringView trimmed = trimBlanks(text);
    if (trimmed.isEmpty() || trimmed.size() > kMaxDateTextLength)
        return std::nullopt;
    const auto tokens = tokenize(trimmed);
    if (!tokens)
        return std::nullopt;
    const LocaleTexts &texts = textsOf(locale);

    QList<QStringView> dateNumbers;
    QList<QStringView> timeParts;
    int namedMonth = 0;
    Meridiem meridiem = Meridiem::None;
    for (qsizetype i = 0; i < tokens->size(); ++i) {
        const Token &token = tokens->at(i);
        if (token.kind == Token::Separator)
            continue;
        if (token.kind == Token::Word) {
            if (const int month = monthFromName(token.text, texts); month > 0 && !namedMonth) {
                namedMonth = month;
                continue;
            }
            const Meridiem m = meridiemFromWord(token.text, texts);
            if (m == Meridiem::None || meridiem != Meridiem::None || timeParts.isEmpty())
                return std::nullopt;
            meridiem = m;
            continue;
        }
        if (token.text.size() > 4)
            return std::nullopt;
        const bool startsTime = i + 2 < tokens->size() && tokens->at(i + 1).text == u":" &&
                                tokens->at(i + 2).kind == Token::Number;
        if (startsTime && timeParts.isEmpty()) {
            timeParts.append(token.text);
            while (i + 2 < tokens->size() && tokens->at(i + 1).text == u":" &&
                   tokens->at(i + 2).kind == Token::Number && timeParts.size() < 3) {
                if (tokens->at(i + 2).text.size() > 2)
                    return std::nullopt;
                timeParts.append(tokens->at(i + 2).text);
                i += 2;
            }
            continue;
        }
        const bool hourWithMeridiem =
            i + 1 < tokens->size() && tokens->at(i + 1).kind == Token::Word &&
            meridiemFromWord(tokens->at(i + 1).text, texts) != Meridiem::None;
        const bool hourWithSpacedMeridiem =
            i + 2 < tokens->size() && tokens->at(i + 1).kind == Token::Separator &&
            tokens->at(i + 2).kind == Token::Word &&
            meridiemFromWord(tokens->at(i + 2).text, texts) != Meridiem::None;
        if (timeParts.isEmpty() && (hourWithMeridiem || hourWithSpacedMeridiem) &&
            token.text.size() <= 2) {
            timeParts.append(token.text);
            continue;
        }
        if (dateNumbers.size() >= 3)
            return std::nullopt;
        dateNumbers.append(token.text);
    }

    std::optional<QTime> time;
    if (!timeParts.isEmpty()) {
        time = readTime(timeParts, meridiem);
        if (!time)
            return std::nullopt;
    }
    if (dateNumbers.isEmpty() && !namedMonth) {
        if (!time)
            return std::nullopt;
        return OleDate::fromDateAndTime({}, *time);
    }
    const auto date = readDate(dateNumbers, namedMonth, texts.order);
    if (!date)
        return std::nullopt;
    return OleDate::fromDateAndTime(*date, time.value_or(QTime(0, 0)));
}

QString FormatGeneralDate(OleDate value, const QLocale &locale)
{
    const QString timeText = FormatLongTime(value.time(), locale);
    if (!value.hasDatePart())
        return timeText;
    const QString dateText =
        normaliseSpaces(locale.toString(value.date(), textsOf(locale).shortDateFormat));
    if (!value.hasTimePart())
        return dateText;
    return dateText + u' ' + timeText;
}

QString FormatLongTime(QTime time, const QLocale &locale)
{
    return normaliseSpaces(locale.toString(time, textsOf(locale).longTimeFormat));
}

QString FormatWholeNumber(double value, const QLocale &locale)
{
    if (!std::isfinite(value))
        return locale.toString(value);
    // Half away from zero, as money and megawatts are usually rounded.
    double rounded = std::round(value);
    if (rounded == 0.0)
        rounded = 0.0; // no "-0"
    return locale.toString(rounded, 'f', 0);
}

QString FormatPlainNumber(double value, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    // Fixed notation where it stays readable; 'g' alone turns 100000 into 1E+05.
    const double magnitude = std::fabs(value);
    const bool fixed = magnitude == 0.0 || (magnitude >= 1e-5 && magnitude < 1e15);
    return plain.toString(value, fixed ? 'f' : 'g', QLocale::FloatingPointShortest);
}

} // namespace voltwise
