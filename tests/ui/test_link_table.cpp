// The web links of the Tools and icon menus over configured and default hosts.
#include "settings/registry_operations.h"
#include "settings/server_settings.h"
#include "settings/settings_test_support.h"
#include "ui/link_table.h"

#include <QTest>

using namespace voltwise;

class TestLinkTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linkTargets_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("toolsCaption");
        QTest::addColumn<QString>("trayCaption");
        QTest::addColumn<QString>("configured"); // with every [Servers] key set
        QTest::addColumn<QString>("byDefault");  // with none set
        const auto row = [](int index, const QString &tools, const QString &tray,
                            const QString &configured, const QString &byDefault) {
            QTest::addRow("%d", index) << index << tools << tray << configured << byDefault;
        };
        row(0, u"California ISO Home"_qs, u"California ISO Home"_qs, u"http://grid.test:81"_qs,
            u"http://www.caiso.com"_qs);
        row(1, u"California ISO Current System Conditions"_qs,
            u"California ISO System Conditions"_qs,
            u"http://grid.test:81/outlook/SystemStatus.html"_qs,
            u"http://www.caiso.com/outlook/SystemStatus.html"_qs);
        row(2, u"-"_qs, u"-"_qs, QString(), QString());
        row(3, u"Voltwise Home"_qs, u"Voltwise &Home"_qs, u"https://maker.test"_qs,
            u"http://www.ternwood.example"_qs);
        row(4, u"-"_qs, u"-"_qs, QString(), QString());
        row(5, u"Pacific Gas && Electric Home"_qs, u"Pacific Gas && Electric Home"_qs,
            u"http://pge.test"_qs, u"https://www.pge.com"_qs);
        row(6, u"PG&&E Blackout Information"_qs, u"PG&&E Blackout Information"_qs,
            u"http://pge.test/myhome/customerservice/energystatus/gridstatus/"_qs,
            u"https://www.pge.com/myhome/customerservice/energystatus/gridstatus/"_qs);
        row(7, u"Southern California Edison Home"_qs, u"Southern California Edison Home"_qs,
            u"http://sce.test:8080"_qs, u"https://www.sce.com"_qs);
        row(8, u"SCE Blackout Information"_qs, u"SCE Blackout Information"_qs,
            u"http://sce.test:8080/PowerOutageCenter/Rotating/default.htm"_qs,
            u"https://www.sce.com/PowerOutageCenter/Rotating/default.htm"_qs);
        row(9, u"San Diego Gas && Electric Home"_qs, u"San Diego Gas && Electric Home"_qs,
            u"http://sdge.test"_qs, u"https://www.sdge.com"_qs);
        row(10, u"SDG&&E Blackout Information"_qs, u"SDG&&E Blackout Information"_qs,
            u"http://outage.sdge.test/reo/"_qs, u"https://www.sdge.com/reo/"_qs);
    }

    void linkTargets()
    {
        QFETCH(int, index);
        QFETCH(QString, toolsCaption);
        QFETCH(QString, trayCaption);
        QFETCH(QString, configured);
        QFETCH(QString, byDefault);
        QCOMPARE(kLinks[index].toolsCaption.toString(), toolsCaption);
        QCOMPARE(kLinks[index].trayCaption.toString(), trayCaption);
        QCOMPARE(kLinks[index].isSeparator(), configured.isEmpty());

        TempRegistry reg;
        QCOMPARE(LinkUrl(index, LoadServerUrls(reg.store)).toString(), byDefault);
        // Stored paths are dropped: a home page is the server without one.
        QVERIFY(SaveSettings(reg.store, {}, u"Servers"_qs,
                             {{u"GridMain"_qs, u"http://grid.test:81/ignored"_qs},
                              {u"Maker"_qs, u"https://maker.test"_qs},
                              {u"PGE"_qs, u"http://pge.test"_qs},
                              {u"SCE"_qs, u"http://sce.test:8080"_qs},
                              {u"SDGE"_qs, u"http://sdge.test"_qs},
                              {u"SDGEBlackout"_qs, u"http://outage.sdge.test/x"_qs}}));
        const ServerUrls servers = LoadServerUrls(reg.store);
        QCOMPARE(LinkUrl(index, servers).toString(), configured);
        QCOMPARE(HelpTopicsUrl(servers).toString(), u"https://maker.test/Voltwise_Help.html"_qs);
    }
};

QTEST_GUILESS_MAIN(TestLinkTable)
#include "test_link_table.moc"
