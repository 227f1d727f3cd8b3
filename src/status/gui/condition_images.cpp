#include "status/gui/condition_images.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>

namespace voltwise {

namespace {

// Glyphs as pixel cells, so figures and letters stay sharp at every whole
// scale: a 3 by 5 face for the smallest sizes and a 5 by 7 face above.
struct GlyphShape
{
    char letter;
    std::string_view small; // 3 by 5, row by row, '#' set
    std::string_view large; // 5 by 7
};

constexpr std::array kGlyphs = {
    GlyphShape{'1', ".#.##..#..#.###", "..#...##....#....#....#....#...###."},
    GlyphShape{'2', "###..#####..###", ".###.#...#....#...#...#...#...#####"},
    GlyphShape{'3', "###..#.##..####", ".###.#...#....#..##.....##...#.###."},
    GlyphShape{'?', "##...#.#.....#.", ".###.#...#....#...#...#.........#.."},
    GlyphShape{'S', "####..###..####", ".#####....#.....###.....#....#####."},
    GlyphShape{'T', "###.#..#..#..#.", "#####..#....#....#....#....#....#.."},
    GlyphShape{'O', "####.##.##.####", ".###.#...##...##...##...##...#.###."},
    GlyphShape{'P', "####.#####..#..", "####.#...##...#####.#....#....#...."},
};

struct PixelFace
{
    bool large = false;
    int scale = 1;

    int cellsWide() const { return large ? 5 : 3; }
    int cellsHigh() const { return large ? 7 : 5; }
    int textWidth(std::string_view text) const
    {
        const int n = static_cast<int>(text.size());
        return (n * cellsWide() + (n - 1)) * scale;
    }
    int textHeight() const { return cellsHigh() * scale; }
};

// The tallest face that fits; the small face only up to twice its size,
// where the large one has more detail.
std::optional<PixelFace> fitText(std::string_view text, int maxWidth, int maxHeight)
{
    std::optional<PixelFace> best;
    auto consider = [&](PixelFace face) {
        if (face.textWidth(text) <= maxWidth && face.textHeight() <= maxHeight &&
            (!best || face.textHeight() > best->textHeight()))
            best = face;
    };
    for (int scale = 1; scale <= 8; ++scale)
        consider({true, scale});
    consider({false, 1});
    consider({false, 2});
    return best;
}

void drawText(QPainter &painter, std::string_view text, const PixelFace &face, const QRect &box,
              const QColor &color)
{
    const int left = box.left() + (box.width() - face.textWidth(text)) / 2;
    const int top = box.top() + (box.height() - face.textHeight()) / 2;
    const int k = face.scale;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto glyph = std::find_if(kGlyphs.begin(), kGlyphs.end(),
                                        [&](const GlyphShape &g) { return g.letter == text[i]; });
        if (glyph == kGlyphs.end())
            continue;
        const std::string_view cells = face.large ? glyph->large : glyph->small;
        const int glyphLeft = left + static_cast<int>(i) * (face.cellsWide() + 1) * k;
        for (int row = 0; row < face.cellsHigh(); ++row)
            for (int col = 0; col < face.cellsWide(); ++col)
                if (cells[static_cast<std::size_t>(row * face.cellsWide() + col)] == '#')
                    painter.fillRect(QRect(glyphLeft + col * k, top + row * k, k, k), color);
    }
}

QColor mix(const QColor &a, const QColor &b, double t)
{
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

enum Lamp
{
    RedLamp,
    YellowLamp,
    GreenLamp
};

struct LightPicture
{
    std::array<bool, 3> lit{};
    std::string_view overlay; // empty: none
};

// Images 1..7; image 8 is the stop sign.
LightPicture lightPicture(int imageIndex)
{
    switch (imageIndex) {
    case 1:
        return {{false, false, false}, "?"};
    case 2:
        return {{false, false, true}, {}};
    case 3:
        return {{false, true, false}, {}};
    case 4:
        return {{true, true, false}, {}};
    case 5:
        return {{true, false, false}, "1"};
    case 6:
        return {{true, false, false}, "2"};
    default:
        return {{true, false, false}, "3"};
    }
}

// Whole-pixel layout of the housing and its lamps, the same in images 1..7
// so the icon does not shift between levels. The light sits left of centre
// to leave the lower right corner to the overlay.
struct LightLayout
{
    QRect housing;
    std::array<QRect, 3> lamps;
};

LightLayout lightLayout(int size)
{
    const int margin = size / 32;
    const int height = size - 2 * margin;
    const int gap = std::max(1, size / 24);
    const int lamp = (height - 4 * gap) / 3;
    const int spare = height - 3 * lamp - 4 * gap;
    const int sidePad = std::max(1, static_cast<int>(std::lround(size / 16.0)));
    const int width = lamp + 2 * sidePad;
    const int left = (size - width) / 2 - size / 8;

    LightLayout layout;
    layout.housing = QRect(left, margin, width, height);
    for (int i = 0; i < 3; ++i)
        layout.lamps[static_cast<std::size_t>(i)] =
            QRect(left + sidePad, margin + gap + spare / 2 + i * (lamp + gap), lamp, lamp);
    return layout;
}

void drawLamp(QPainter &painter, const QRect &box, Lamp lamp, bool lit)
{
    static const std::array<QColor, 3> litColors = {
        QColor(0xff, 0x2a, 0x1f), QColor(0xff, 0xc8, 0x00), QColor(0x22, 0xdd, 0x4f)};
    static const std::array<QColor, 3> darkColors = {
        QColor(0x55, 0x16, 0x12), QColor(0x52, 0x42, 0x0a), QColor(0x10, 0x42, 0x1d)};
    const QColor base = (lit ? litColors : darkColors)[static_cast<std::size_t>(lamp)];
    const QRectF circle(box);
    if (box.width() >= 8) {
        QRadialGradient shine(circle.left() + circle.width() * 0.38,
                              circle.top() + circle.height() * 0.35, circle.width() * 0.62);
        shine.setColorAt(0, mix(base, Qt::white, lit ? 0.55 : 0.18));
        shine.setColorAt(1, base);
        painter.setBrush(shine);
    } else {
        painter.setBrush(base);
    }
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(circle);
}

void drawOverlay(QPainter &painter, int size, std::string_view text)
{
    int badge = static_cast<int>(std::lround(size * 0.5));
    const int border = std::max(1, badge / 12);
    const int padding = badge >= 12 ? 1 : 0;
    const auto insideOf = [&](int side) {
        return side - 2 * (border + padding);
    };
    auto face = fitText(text, insideOf(badge), insideOf(badge));
    // One pixel more rather than a figure half a pixel off centre.
    if (face && (insideOf(badge) - face->textWidth(text)) % 2 != 0)
        ++badge;

    const QRect box(size - badge, size - badge, badge, badge);
    const QRectF outline =
        QRectF(box).adjusted(border / 2.0, border / 2.0, -border / 2.0, -border / 2.0);
    const double radius = badge * 0.28;
    painter.setPen(QPen(QColor(0x1a, 0x1a, 0x1a), border));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(outline, radius, radius);

    if (face) {
        const int inset = border + padding;
        const QColor ink = text == "?" ? QColor(0x12, 0x4f, 0xc4) : QColor(0x10, 0x10, 0x10);
        painter.setRenderHint(QPainter::Antialiasing, false);
        drawText(painter, text, *face, box.adjusted(inset, inset, -inset, -inset), ink);
        painter.setRenderHint(QPainter::Antialiasing, true);
    }
}

void drawTrafficLight(QPainter &painter, int size, const LightPicture &picture)
{
    const LightLayout layout = lightLayout(size);
    const QRectF housing = QRectF(layout.housing).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = std::max(1.0, layout.housing.width() / 4.0);
    QLinearGradient body(housing.topLeft(), housing.topRight());
    body.setColorAt(0, QColor(0x3c, 0x3c, 0x3c));
    body.setColorAt(1, QColor(0x22, 0x22, 0x22));
    painter.setPen(QPen(QColor(0x0c, 0x0c, 0x0c), 1));
    painter.setBrush(body);
    painter.drawRoundedRect(housing, radius, radius);

    for (int i = 0; i < 3; ++i)
        drawLamp(painter, layout.lamps[static_cast<std::size_t>(i)], static_cast<Lamp>(i),
                 picture.lit[static_cast<std::size_t>(i)]);

    if (!picture.overlay.empty())
        drawOverlay(painter, size, picture.overlay);
}

QPolygonF octagon(const QRectF &square)
{
    const double cut = square.width() / (2.0 + std::sqrt(2.0));
    const double l = square.left(), t = square.top(), r = square.right(), b = square.bottom();
    return QPolygonF({{l + cut, t},
                      {r - cut, t},
                      {r, t + cut},
                      {r, b - cut},
                      {r - cut, b},
                      {l + cut, b},
                      {l, b - cut},
                      {l, t + cut}});
}

void drawStopSign(QPainter &painter, int size)
{
    const QRectF outer(0, 0, size, size);
    painter.setPen(Qt::NoPen);
    painter.setBrush(size >= 22 ? QColor(0x6a, 0x00, 0x08) : QColor(Qt::white));
    painter.drawPolygon(octagon(outer));

    const double edge = size >= 22 ? 1.0 : 0.0;
    painter.setBrush(Qt::white);
    painter.drawPolygon(octagon(outer.adjusted(edge, edge, -edge, -edge)));

    const int ring = std::max(1, static_cast<int>(std::lround(size / 16.0)));
    const double inset = edge + ring;
    const QRectF field = outer.adjusted(inset, inset, -inset, -inset);
    QLinearGradient red(field.topLeft(), field.bottomLeft());
    red.setColorAt(0, QColor(0xe8, 0x1c, 0x2a));
    red.setColorAt(1, QColor(0xb8, 0x0a, 0x18));
    painter.setBrush(red);
    painter.drawPolygon(octagon(field));

    const int textWidth = static_cast<int>(field.width()) - 2;
    const int band = static_cast<int>(field.width() / (1.0 + std::sqrt(2.0))) + 1;
    if (const auto face = fitText("STOP", textWidth, band)) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        drawText(painter, "STOP", *face, QRect(0, 0, size, size), Qt::white);
    }
}

bool isImageIndex(int imageIndex)
{
    return imageIndex >= 1 && imageIndex <= kConditionImageCount;
}

} // namespace

QImage ConditionImage(int imageIndex, int size)
{
    if (!isImageIndex(imageIndex) || size <= 0)
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PaintConditionImage(painter, imageIndex, size);
    painter.end();
    return image;
}

void PaintConditionImage(QPainter &painter, int imageIndex, int size)
{
    if (!isImageIndex(imageIndex) || size <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (imageIndex == kConditionImageCount)
        drawStopSign(painter, size);
    else
        drawTrafficLight(painter, size, lightPicture(imageIndex));
    painter.restore();
}

QPixmap ConditionPixmap(int imageIndex, int size, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap = QPixmap::fromImage(ConditionImage(imageIndex, qRound(size * ratio)));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon ConditionIcon(int imageIndex)
{
    if (!isImageIndex(imageIndex))
        return {};
    static std::array<QIcon, kConditionImageCount> cache;
    QIcon &icon = cache[static_cast<std::size_t>(imageIndex - 1)];
    if (icon.isNull())
        for (const int size : {16, 20, 22, 24, 32, 40, 48, 64})
            icon.addPixmap(ConditionPixmap(imageIndex, size));
    return icon;
}

} // namespace voltwise
