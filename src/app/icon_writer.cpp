// voltwise-icons: writes the program's icon into an icon theme folder at
// build time, from the same drawing as the window and tray icons.
// Usage: voltwise-icons THEME_FOLDER (such as share/icons/hicolor).
#include "platform/gui/program_icon.h"
#include "status/gui/condition_images.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>
#include <functional>

using namespace voltwise;

namespace {

// Drawn at the largest size, where every part of the light is at its finest.
constexpr int kScalableSize = 256;

bool writeSvg(const QString &path)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize({kScalableSize, kScalableSize});
    svg.setViewBox(QRect(0, 0, kScalableSize, kScalableSize));
    svg.setTitle(u"Voltwise"_qs);
    svg.setDescription(u"A traffic light showing green"_qs);
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    PaintConditionImage(painter, kProgramImageIndex, kScalableSize);
    return painter.end();
}

bool writeIcon(const QDir &theme, const QString &sizeFolder, const QString &suffix,
               const std::function<bool(const QString &)> &write)
{
    const QString folder = sizeFolder + u"/apps"_qs;
    const QString path = theme.filePath(folder + u'/' + kProgramIconName.toString() + suffix);
    if (theme.mkpath(folder) && write(path))
        return true;
    std::fprintf(stderr, "voltwise-icons: cannot write %s\n", qUtf8Printable(path));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    // Drawing needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fputs("usage: voltwise-icons THEME_FOLDER\n", stderr);
        return 2;
    }
    const QDir theme(app.arguments().at(1));
    bool ok = writeIcon(theme, u"scalable"_qs, u".svg"_qs, writeSvg);
    for (const int size : kProgramIconSizes)
        ok = writeIcon(theme, u"%1x%1"_qs.arg(size), u".png"_qs,
                       [size](const QString &path) {
                           return ConditionImage(kProgramImageIndex, size).save(path, "PNG");
                       }) &&
             ok;
    return ok ? 0 : 1;
}
