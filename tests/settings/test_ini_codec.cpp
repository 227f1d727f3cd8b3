// The configuration file's text is read and written without QSettings, so
// QSettings itself is the reference here: what it writes must come out
// byte for byte, and what it reads from a file must be read alike.

#include "settings/ini_codec.h"
#include "settings/ini_value.h"
#include "settings_test_support.h"

#include <QSettings>

using namespace voltwise;

class TestIniCodec : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    // A name QSettings has never seen, so that its cache cannot answer.
    QString freshFile(const QByteArray &text = {})
    {
        const QString path = m_dir.filePath(QString::number(++m_files) + u".conf"_qs);
        return WriteBytes(path, text) ? path : QString();
    }

private Q_SLOTS:
    void writesAsQSettings_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *title, const QString &key, const QString &text) {
            QTest::newRow(title) << key << text;
        };
        row("plain", u"Settings/AutoCheck"_qs, u"True"_qs);
        row("separators", u"S/K"_qs, u"1,2;3=4"_qs);
        row("quotes and backslashes", u"S/K"_qs, u"say \"C:\\x\""_qs);
        row("controls", u"S/K"_qs, u"\n\t\r\a\b\f\v\x01\x1f end"_qs);
        row("beyond ASCII", u"S/K"_qs, u"Zürich € \U0001F50C \x7f"_qs);
        row("escaped names", u"My Section/sub/k%ü€"_qs, u"v"_qs);
    }

    void writesAsQSettings()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        const QString path = freshFile();
        {
            QSettings settings(path, QSettings::IniFormat);
            settings.setValue(key, text);
        }
        const QByteArray written = ReadBytes(path);
        QCOMPARE(SerializeIni({{key, IniTextValue(text)}}), written);

        const std::optional<IniEntries> read = ParseIni(written);
        QVERIFY(read);
        QCOMPARE(read->keys(), QStringList{key});
        QCOMPARE(IniValueData(read->value(key)), QVariant(text));
    }

    void readsAsQSettings_data()
    {
        QTest::addColumn<QByteArray>("file");
        const auto row = [](const char *title, const char *file) {
            QTest::newRow(title) << QByteArray(file);
        };
        row("blanks around", "[S]\n  K =  a b  \n");
        row("list", "[S]\nK=1, \"2,3\" , 4 \n");
        row("escapes", "[S]\nK=\\x41\\101\\q\\\"\\\\\\t \n");
        row("quotes over lines", "[S]\nK=\"a\nb\"\nL=c\n");
        row("byte array", "[S]\nK=@ByteArray(\\x1raw)\n");
        row("number", "[S]\nK=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n");
        row("General sections", "[general]\nK=top\n[%General]\nK=own\n");
        row("escaped names", "[My%20Section]\nsub\\k%U20AC=v\n");
        row("repeated key, repeated section", "[S]\nK=1\n[T]\nK=2\n[S]\nK=3\n");
    }

    void readsAsQSettings()
    {
        QFETCH(QByteArray, file);
        QSettings settings(freshFile(file), QSettings::IniFormat);
        const std::optional<IniEntries> read = ParseIni(file);
        QVERIFY(read);
        QCOMPARE(read->keys(), settings.allKeys());
        for (auto it = read->cbegin(); it != read->cend(); ++it)
            QCOMPARE(IniValueData(it.value()), settings.value(it.key()));
    }

    void damagedAsQSettings_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("damaged");
        QTest::newRow("line without equals") << QByteArray("[S]\nK=v\ngarbage\n") << true;
        QTest::newRow("comments and blanks") << QByteArray("; c\n\n[S]\n ;c\nK=v\n") << false;
        QTest::newRow("equals in quotes only") << QByteArray("[S]\n\"a=b\"\n") << true;
    }

    void damagedAsQSettings()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, damaged);
        QSettings settings(freshFile(file), QSettings::IniFormat);
        settings.allKeys(); // parses every section
        QCOMPARE(settings.status() == QSettings::FormatError, damaged);
        QCOMPARE(!ParseIni(file).has_value(), damaged);
    }
};

QTEST_GUILESS_MAIN(TestIniCodec)
#include "test_ini_codec.moc"
