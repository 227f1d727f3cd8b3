// The yardstick of the program's memory hidden in the tray: the least Qt
// program that does what it does there, an icon in the tray, one fetch over
// HTTP and a name on the session bus. Prints "ready" once all three are
// done, so that a script can measure it then.
//   bench_bare_tray URL
#include <QApplication>
#include <QDBusConnection>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_bare_tray URL\n");
        return 2;
    }
    QPixmap picture(22, 22);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::green);
    painter.drawEllipse(picture.rect().adjusted(2, 2, -2, -2));
    painter.end();
    QSystemTrayIcon tray{QIcon(picture)};
    tray.show();

    if (!QDBusConnection::sessionBus().registerService(u"com.ternwood.BareTray"_qs)) {
        std::fprintf(stderr, "bench_bare_tray: no name on the session bus\n");
        return 1;
    }
    QNetworkAccessManager network;
    QNetworkReply *reply = network.get(QNetworkRequest(QUrl(QString::fromLocal8Bit(argv[1]))));
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply] {
        if (reply->error() != QNetworkReply::NoError) {
            std::fprintf(stderr, "bench_bare_tray: %s\n", qPrintable(reply->errorString()));
            QCoreApplication::exit(1);
            return;
        }
        reply->readAll();
        reply->deleteLater();
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return app.exec();
}
