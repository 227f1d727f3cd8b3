// The yardstick of the program's footprint: what the least Qt Widgets
// program costs, one empty window on screen. Prints "mapped SECONDS" (since
// the epoch) when the window is first exposed, so that a script can compare
// its start-up with the program's.
#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>

namespace {

// Out of line: an instruction count stops where it is called.
[[gnu::noinline]] void reportMapped()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::printf("mapped %.6f\n", std::chrono::duration<double>(now).count());
    std::fflush(stdout);
}

class FirstExposure : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWindow *>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed()) {
            reportMapped();
            watched->removeEventFilter(this);
        }
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(u"Bare Qt window"_qs);
    window.resize(325, 500);
    FirstExposure watch;
    window.winId(); // the native window exists before it is shown
    window.windowHandle()->installEventFilter(&watch);
    window.show();
    return app.exec();
}
