#include "widgets/Artwork.h"
#include "widgets/Palette.h"

#include "widgets/Fonts.h"

#include <QColor>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <mutex>
#include <numbers>

namespace zorvane {
namespace {

// One palette for every picture: the window's blue, the drawing colours and the page colours.
using palette::kBlue;
using palette::kGreen;
using palette::kOrange;
using palette::kPageBackground;
using palette::kRed;
const QColor kButtonBar{215, 231, 246};
const QColor kButtonBarLine{193, 213, 232};
const QColor kWhite{255, 255, 255};
const QColor kDarkText{40, 52, 64};

enum class State { Normal, Hover, Pressed, Disabled };

QColor Mix(const QColor& a, const QColor& b, qreal t)
{
    const auto channel = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()), channel(a.blue(), b.blue()),
                  channel(a.alpha(), b.alpha()));
}

QColor WithAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

// How the face of a button (or of a one-picture label) looks in its normal picture; the other pictures
// are derived from it, so every strip changes between its states in the same way.
struct Look {
    QColor surround{};                    // the window colour around a rounded face
    QColor top{};                         // face gradient, top
    QColor bottom{};                      // face gradient, bottom
    QColor border{};                      // invalid: no border
    QColor ink{};                         // caption and icon
    qreal radius = 0;                     // 0: the face fills the whole picture
    qreal margin = 0;                     // gap between the picture's edge and the face
    int weight = 400;                     // caption weight
    qreal iconSize = 0;                   // side of the icon's square, pixels
    bool alignLeft = false;               // title bands start at the left; buttons centre their content
    QColor alert{};                       // valid: the hover and pressed faces turn this colour (close button)
    QColor highlight{};                   // valid (light faces, which darkening would only grey): the hover
                                          // border takes it and the pressed face leans towards it
    QColor accent{};                      // valid: the pressed picture (a pinned page button) carries a bar of it
    bool accentAtLeft = false;            // the bar runs down the left edge rather than along the bottom
};

struct Resource;
struct Cell {
    QRectF rect;
    State state;
    const Resource& resource;
};

using Painter = void (*)(QPainter&, const Cell&);
using IconPainter = void (*)(QPainter&, const QRectF& box, const QColor& ink);

void PaintFace(QPainter& painter, const Cell& cell);

struct Resource {
    int id = 0;
    int width = 0;
    int height = 0;
    int pictures = 1;
    const Look* look = nullptr;  // for PaintFace
    const char* caption = "";    // UTF-8
    IconPainter icon = nullptr;  // drawn before the caption
    int fontHeight = 0;
    Painter paint = PaintFace;
    QColor tint{};  // the colour of a free picture (pencil, lamp)
};

// ---------------------------------------------------------------------------------------------------
// Faces

struct Face {
    QColor top;
    QColor bottom;
    QColor border;
    QColor ink;
    bool inset = false;
};

QColor Greyed(const QColor& colour)
{
    if (!colour.isValid()) {
        return colour;
    }
    const int grey = std::clamp(qGray(colour.rgb()) * 6 / 10 + 80, 0, 255);
    return QColor(grey, grey, std::min(grey + 3, 255));
}

// Hover lightens the face; a light face also outlines itself in its highlight colour.
Face HoverFace(const Look& look)
{
    if (look.alert.isValid()) {
        return {look.alert.lighter(108), look.alert, look.alert, kWhite};
    }
    QColor border;
    if (look.border.isValid()) {
        border = look.highlight.isValid() ? Mix(look.border, look.highlight, 0.6) : Mix(look.border, kWhite, 0.15);
    }
    return {Mix(look.top, kWhite, 0.15), Mix(look.bottom, kWhite, 0.15), border, look.ink};
}

// Pressing darkens the face (a light face leans towards its highlight instead) and sinks it.
Face PressedFace(const Look& look)
{
    if (look.alert.isValid()) {
        return {look.alert.darker(118), look.alert.darker(112), look.alert.darker(118), kWhite, true};
    }
    if (look.highlight.isValid()) {
        return {Mix(look.top, look.highlight, 0.22), Mix(look.bottom, look.highlight, 0.28),
                Mix(look.border, look.highlight, 0.4), look.ink, true};
    }
    return {look.top.darker(120), look.bottom.darker(114),
            look.border.isValid() ? look.border.darker(120) : QColor(), look.ink, true};
}

Face DisabledFace(const Look& look)
{
    const bool lightInk = look.ink.lightness() > 128;
    return {Greyed(look.top), Greyed(look.bottom), Greyed(look.border),
            lightInk ? QColor(248, 249, 250) : QColor(150, 154, 158)};
}

Face FaceFor(const Look& look, State state)
{
    switch (state) {
    case State::Normal:
        return {look.top, look.bottom, look.border, look.ink};
    case State::Hover:
        return HoverFace(look);
    case State::Pressed:
        return PressedFace(look);
    case State::Disabled:
        break;
    }
    return DisabledFace(look);
}

QFont ArtFont(FontFace face, int pixelHeight, int weight)
{
    QFont font = MakeFont(face, pixelHeight, 0, weight);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    return font;
}

// The largest font up to `pixelHeight` whose ink for `text` fits `maxWidth`.
QFont FittingFont(FontFace face, const QString& text, int pixelHeight, int weight, qreal maxWidth)
{
    QFont font = ArtFont(face, pixelHeight, weight);
    while (pixelHeight > 8 && QFontMetricsF(font).tightBoundingRect(text).width() > maxWidth) {
        font = ArtFont(face, --pixelHeight, weight);
    }
    return font;
}

// Draws `text` so that its ink starts at x = `left` and is centred vertically on `centreY`.
void DrawInkText(QPainter& painter, const QString& text, const QFont& font, qreal left, qreal centreY,
                 const QColor& ink)
{
    const QRectF inkBox = QFontMetricsF(font).tightBoundingRect(text);
    const qreal baseline = std::round(centreY - inkBox.center().y());
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QPointF(std::round(left - inkBox.left()), baseline), text);
}

// Icon and caption side by side, centred as one group (or from the left for title bands).
void PaintContent(QPainter& painter, const QRectF& area, const Resource& resource, const QColor& ink)
{
    const Look& look = *resource.look;
    const QString text = QString::fromUtf8(resource.caption);
    const qreal padding = look.alignLeft ? 10 : 8;
    const qreal iconWidth = resource.icon ? look.iconSize : 0;
    const qreal gap = (resource.icon && !text.isEmpty()) ? std::round(look.iconSize * 0.4) : 0;

    QFont font;
    qreal textWidth = 0;
    if (!text.isEmpty()) {
        const qreal room = area.width() - 2 * padding - iconWidth - gap;
        font = FittingFont(FontFace::Kai, text, resource.fontHeight, look.weight, room);
        textWidth = QFontMetricsF(font).tightBoundingRect(text).width();
    }
    const qreal groupWidth = iconWidth + gap + textWidth;
    qreal x = look.alignLeft ? area.left() + padding : area.center().x() - groupWidth / 2;
    if (resource.icon) {
        const qreal side = look.iconSize;
        resource.icon(painter, QRectF(std::round(x), std::round(area.center().y() - side / 2), side, side), ink);
        x += iconWidth + gap;
    }
    if (!text.isEmpty()) {
        DrawInkText(painter, text, font, x, area.center().y(), ink);
    }
}

void PaintInsetShadow(QPainter& painter, const QPainterPath& shape, const QRectF& body)
{
    painter.save();
    painter.setClipPath(shape);
    QLinearGradient shadow(body.topLeft(), body.topLeft() + QPointF(0, 5));
    shadow.setColorAt(0, QColor(0, 0, 0, 70));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    painter.fillRect(body, shadow);
    painter.restore();
}

void PaintAccent(QPainter& painter, const QRectF& body, const Look& look)
{
    constexpr qreal kThickness = 4;
    QRectF bar = body;
    if (look.accentAtLeft) {
        bar.setRight(body.left() + kThickness);
    } else {
        bar.setTop(body.bottom() - kThickness);
    }
    QPainterPath shape;
    shape.addRoundedRect(body, look.radius, look.radius);
    painter.save();
    painter.setClipPath(shape);
    painter.fillRect(bar, look.accent);
    painter.restore();
}

void PaintFace(QPainter& painter, const Cell& cell)
{
    const Look& look = *cell.resource.look;
    const Face face = FaceFor(look, cell.state);

    painter.fillRect(cell.rect, look.surround.isValid() ? look.surround : face.bottom);
    QRectF body = cell.rect.adjusted(look.margin, look.margin, -look.margin, -look.margin);
    if (face.border.isValid()) {
        body.adjust(0.5, 0.5, -0.5, -0.5);  // a 1-pixel border on whole pixels
    }
    QPainterPath shape;
    shape.addRoundedRect(body, look.radius, look.radius);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, face.top);
    fill.setColorAt(1, face.bottom);
    painter.fillPath(shape, fill);
    if (face.inset) {
        PaintInsetShadow(painter, shape, body);
    }
    if (cell.state == State::Pressed && look.accent.isValid()) {
        PaintAccent(painter, body, look);
    }
    if (face.border.isValid()) {
        painter.strokePath(shape, QPen(face.border, 1));
    }
    const QPointF shift = face.inset ? QPointF(1, 1) : QPointF();
    PaintContent(painter, cell.rect.translated(shift), cell.resource, face.ink);
}

// ---------------------------------------------------------------------------------------------------
// Icons, drawn into a square box in the ink colour

// Maps the unit square onto `box`.
QTransform UnitToBox(const QRectF& box)
{
    return QTransform::fromTranslate(box.left(), box.top()).scale(box.width(), box.height());
}

QPainterPath Stroke(const QPainterPath& line, qreal width, Qt::PenCapStyle cap = Qt::RoundCap)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line);
}

QPainterPath Line(QPointF from, QPointF to)
{
    QPainterPath path(from);
    path.lineTo(to);
    return path;
}

// Boolean operations flatten curves with a tolerance in path units, far too coarse on the unit square;
// they run on a finer grid.
QPainterPath Combined(const QPainterPath& a, const QPainterPath& b, bool subtract)
{
    constexpr qreal kFine = 256;
    const QTransform fine = QTransform::fromScale(kFine, kFine);
    const QPainterPath result = subtract ? fine.map(a).subtracted(fine.map(b)) : fine.map(a).united(fine.map(b));
    return fine.inverted().map(result);
}

QPainterPath United(const QPainterPath& a, const QPainterPath& b)
{
    return Combined(a, b, false);
}

QPainterPath Subtracted(const QPainterPath& a, const QPainterPath& b)
{
    return Combined(a, b, true);
}

void FillUnitPath(QPainter& painter, const QRectF& box, const QPainterPath& unitPath, const QColor& ink)
{
    painter.fillPath(UnitToBox(box).map(unitPath), ink);
}

void IconDash(QPainter& painter, const QRectF& box, const QColor& ink)
{
    painter.fillRect(QRectF(box.left() + 1, std::round(box.center().y()), box.width() - 2, 2), ink);
}

void IconCross(QPainter& painter, const QRectF& box, const QColor& ink)
{
    const QRectF r = box.adjusted(1.5, 1.5, -1.5, -1.5);
    painter.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(r.topLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomLeft());
}

// A small window: outline and a solid title bar.
void IconWindow(QPainter& painter, const QRectF& box, const QColor& ink)
{
    const QRectF frame(box.left() + 0.5, box.top() + 1.5, box.width() - 1, box.height() - 3);
    painter.setPen(QPen(ink, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    painter.fillRect(QRectF(frame.left(), frame.top(), frame.width(), 3), ink);
}

void IconArrow(QPainter& painter, const QRectF& box, const QColor& ink, bool up)
{
    const qreal top = box.top() + box.height() * 0.22;
    const qreal bottom = box.bottom() - box.height() * 0.22;
    const qreal tip = up ? top : bottom;
    const qreal base = up ? bottom : top;
    const QPolygonF triangle{QPointF(box.center().x(), tip), QPointF(box.right(), base), QPointF(box.left(), base)};
    painter.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(ink);
    painter.drawPolygon(triangle);
}

void IconArrowUp(QPainter& painter, const QRectF& box, const QColor& ink)
{
    IconArrow(painter, box, ink, true);
}

void IconArrowDown(QPainter& painter, const QRectF& box, const QColor& ink)
{
    IconArrow(painter, box, ink, false);
}

QPainterPath Ring(QPointF centre, qreal outer, qreal inner)
{
    QPainterPath ring;
    ring.addEllipse(centre, outer, outer);
    ring.addEllipse(centre, inner, inner);
    return ring;  // odd-even fill leaves the hole
}

void IconCheck(QPainter& painter, const QRectF& box, const QColor& ink)
{
    QPainterPath mark(QPointF(0.28, 0.52));
    mark.lineTo(0.44, 0.68);
    mark.lineTo(0.73, 0.35);
    FillUnitPath(painter, box, United(Ring({0.5, 0.5}, 0.5, 0.41), Stroke(mark, 0.11)), ink);
}

void IconExclamation(QPainter& painter, const QRectF& box, const QColor& ink)
{
    QPainterPath mark = Stroke(Line({0.5, 0.25}, {0.5, 0.56}), 0.12);
    mark.addEllipse(QPointF(0.5, 0.74), 0.07, 0.07);
    FillUnitPath(painter, box, United(Ring({0.5, 0.5}, 0.5, 0.41), mark), ink);
}

void IconTools(QPainter& painter, const QRectF& box, const QColor& ink)
{
    QPainterPath wrench;
    wrench.addEllipse(QPointF(0.3, 0.3), 0.25, 0.25);
    wrench = United(wrench, Stroke(Line({0.3, 0.3}, {0.86, 0.86}), 0.19));
    wrench = Subtracted(wrench, Stroke(Line({0.27, 0.27}, {-0.1, -0.1}), 0.17, Qt::FlatCap));
    QPainterPath hole;
    hole.addEllipse(QPointF(0.83, 0.83), 0.045, 0.045);
    FillUnitPath(painter, box, Subtracted(wrench, hole), ink);
}

void IconBarChart(QPainter& painter, const QRectF& box, const QColor& ink)
{
    QPainterPath chart;
    constexpr std::array<std::array<qreal, 2>, 3> kBars{{{0.1, 0.45}, {0.4, 0.8}, {0.7, 0.6}}};  // x, height
    for (const auto& [x, height] : kBars) {
        chart.addRoundedRect(QRectF(x, 0.86 - height, 0.2, height), 0.03, 0.03);
    }
    chart.addRect(QRectF(0.0, 0.9, 1.0, 0.08));
    chart.setFillRule(Qt::WindingFill);
    FillUnitPath(painter, box, chart, ink);
}

void IconMonitor(QPainter& painter, const QRectF& box, const QColor& ink)
{
    QPainterPath screen;
    screen.addRoundedRect(QRectF(0.0, 0.06, 1.0, 0.66), 0.06, 0.06);
    QPainterPath glass;
    glass.addRect(QRectF(0.09, 0.15, 0.82, 0.48));
    QPainterPath stand;
    stand.addRect(QRectF(0.43, 0.72, 0.14, 0.14));
    stand.addRoundedRect(QRectF(0.24, 0.86, 0.52, 0.09), 0.04, 0.04);
    stand.setFillRule(Qt::WindingFill);
    const QPainterPath monitor = United(Subtracted(screen, glass), stand);
    FillUnitPath(painter, box, monitor, ink);
    painter.fillPath(UnitToBox(box).map(glass), WithAlpha(ink, 60));
}

// A pen laid along the rising diagonal: point at the lower left.
void IconPen(QPainter& painter, const QRectF& box, const QColor& ink)
{
    constexpr qreal kHalf = 0.12;
    QPainterPath pen;
    pen.moveTo(-0.66, 0);  // point
    pen.lineTo(-0.36, -kHalf);
    pen.lineTo(0.34, -kHalf);
    pen.lineTo(0.34, kHalf);
    pen.lineTo(-0.36, kHalf);
    pen.closeSubpath();
    QPainterPath cap;
    cap.addRoundedRect(QRectF(0.4, -kHalf, 0.26, 2 * kHalf), 0.06, 0.06);
    pen = United(pen, cap);
    const QPainterPath collar = Stroke(Line({-0.36, -0.2}, {-0.36, 0.2}), 0.05, Qt::FlatCap);
    const QTransform diagonal = QTransform::fromTranslate(0.5, 0.5).rotate(-45);
    FillUnitPath(painter, box, diagonal.map(Subtracted(pen, collar)), ink);
}

// A spiral brush stroke of one and a half turns from the centre outwards, pointed at both ends and
// widest two thirds of the way out.
QPainterPath SwirlPath(qreal weight)
{
    constexpr int kSteps = 240;
    constexpr qreal kStart = 0.5 * std::numbers::pi;
    constexpr qreal kSpan = 3.0 * std::numbers::pi;
    constexpr qreal kInnerRadius = 0.04;
    constexpr qreal kOuterRadius = 0.44;
    constexpr qreal kWidestAt = 1.6;  // exponent that puts the widest point near t = 0.65
    const QPointF centre(0.5, 0.47);  // a little high: the wide part of the stroke is at the bottom
    const qreal widest = 0.19 * weight;
    QPolygonF outer;
    QPolygonF inner;
    for (int step = 0; step <= kSteps; ++step) {
        const qreal t = static_cast<qreal>(step) / kSteps;
        const qreal angle = kStart + kSpan * t;
        const qreal radius = kInnerRadius + (kOuterRadius - kInnerRadius) * t;
        const qreal half = widest * std::sin(std::numbers::pi * std::pow(t, kWidestAt)) / 2;
        const QPointF direction(std::cos(angle), std::sin(angle));
        outer << centre + direction * (radius + half);
        inner.prepend(centre + direction * std::max(radius - half, 0.0));
    }
    outer.append(inner);
    QPainterPath swirl;
    swirl.addPolygon(outer);
    swirl.closeSubpath();
    return swirl;
}

void IconSwirl(QPainter& painter, const QRectF& box, const QColor& ink)
{
    FillUnitPath(painter, box, SwirlPath(box.width() < 24 ? 1.25 : 1.0), ink);
}

// ---------------------------------------------------------------------------------------------------
// Free pictures

// The program's tile: a rounded blue square with a white swirl.
void PaintIconTile(QPainter& painter, const QRectF& square)
{
    const qreal radius = square.width() * 0.22;
    QPainterPath tile;
    tile.addRoundedRect(square, radius, radius);
    QLinearGradient fill(square.topLeft(), square.bottomRight());
    fill.setColorAt(0, kBlue.lighter(135));
    fill.setColorAt(1, kBlue.darker(135));
    painter.fillPath(tile, fill);
    if (square.width() >= 24) {
        const qreal rim = square.width() / 48;
        QPainterPath inner;
        inner.addRoundedRect(square.adjusted(rim, rim, -rim, -rim), radius - rim, radius - rim);
        painter.strokePath(inner, QPen(WithAlpha(kWhite, 70), rim));
    }
    const qreal inset = square.width() * 0.1;
    IconSwirl(painter, square.adjusted(inset, inset, -inset, -inset), kWhite);
}

void PaintLogo(QPainter& painter, const Cell& cell)
{
    const QRectF& r = cell.rect;
    painter.fillRect(r, kBlue);
    const QRectF tile(r.left() + 6, r.top() + 6, 52, 52);
    QPainterPath shadow;
    shadow.addRoundedRect(tile.translated(1, 2), 12, 12);
    painter.fillPath(shadow, QColor(0, 0, 0, 50));
    PaintIconTile(painter, tile);
    const QString name = QStringLiteral("Zorvane");
    const qreal left = tile.right() + 12;
    const QFont font = FittingFont(FontFace::Sans, name, 30, 700, r.right() - 6 - left);
    DrawInkText(painter, name, font, left, tile.center().y(), kWhite);
}

void PaintLamp(QPainter& painter, const Cell& cell)
{
    const QRectF& r = cell.rect;
    const QColor& colour = cell.resource.tint;
    painter.fillRect(r, kBlue);
    const QPointF centre = r.center();
    const qreal radius = r.width() / 2 - 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawEllipse(centre, radius + 1.5, radius + 1.5);
    QRadialGradient body(centre - QPointF(radius * 0.3, radius * 0.35), radius * 1.4);
    body.setColorAt(0, colour.lighter(150));
    body.setColorAt(0.45, colour);
    body.setColorAt(1, colour.darker(150));
    painter.setBrush(body);
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(QColor(255, 255, 255, 150));
    painter.drawEllipse(QRectF(centre.x() - radius * 0.5, centre.y() - radius * 0.8, radius, radius * 0.6));
}

// A soft elliptical shadow under an object resting on the page.
void PaintFloorShadow(QPainter& painter, QPointF centre, qreal halfWidth, qreal halfHeight)
{
    painter.save();
    painter.translate(centre);
    painter.scale(1, halfHeight / halfWidth);
    QRadialGradient shadow(QPointF(0, 0), halfWidth);
    shadow.setColorAt(0, QColor(0, 0, 0, 70));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(QPointF(0, 0), halfWidth, halfWidth);
    painter.restore();
}

// A point on a trapezoid between a top edge (y0, x from l0 to r0) and a bottom edge (y1, l1 to r1):
// u runs from left to right, v from top to bottom.
struct Trapezoid {
    qreal y0, l0, r0, y1, l1, r1;
    QPointF At(qreal u, qreal v) const
    {
        const qreal left = l0 + (l1 - l0) * v;
        const qreal right = r0 + (r1 - r0) * v;
        return {left + (right - left) * u, y0 + (y1 - y0) * v};
    }
    QPolygonF Quad(qreal u0, qreal v0, qreal u1, qreal v1) const
    {
        return QPolygonF{At(u0, v0), At(u1, v0), At(u1, v1), At(u0, v1)};
    }
};

void PaintKeyboard(QPainter& painter, const Trapezoid& deck)
{
    // Key widths per row, in key units; every row spans 14 units.
    const std::array<std::vector<qreal>, 4> kRows{{
        {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
        {1.5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1.5},
        {2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2},
        {1.5, 1, 1.5, 6, 1.5, 1, 1.5},
    }};
    constexpr qreal kUnits = 14;
    constexpr qreal kGap = 0.18;  // of a key unit
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(62, 66, 72));
    for (std::size_t row = 0; row < kRows.size(); ++row) {
        const qreal rows = static_cast<qreal>(kRows.size());
        const qreal v0 = static_cast<qreal>(row) / rows;
        const qreal v1 = v0 + 0.78 / rows;
        qreal unit = 0;
        for (const qreal width : kRows[row]) {
            painter.drawPolygon(deck.Quad((unit + kGap / 2) / kUnits, v0, (unit + width - kGap / 2) / kUnits, v1));
            unit += width;
        }
    }
}

void PaintLaptop(QPainter& painter, const Cell& cell)
{
    painter.fillRect(cell.rect, kPageBackground);
    painter.translate(cell.rect.topLeft());
    PaintFloorShadow(painter, {75, 104}, 74, 9);

    // Lid and screen.
    QPainterPath lid;
    lid.addRoundedRect(QRectF(27, 5, 96, 68), 5, 5);
    QLinearGradient bezel(0, 5, 0, 73);
    bezel.setColorAt(0, QColor(74, 78, 86));
    bezel.setColorAt(1, QColor(36, 38, 43));
    painter.fillPath(lid, bezel);
    const QRectF screen(32.5, 10.5, 85, 57);
    QLinearGradient wallpaper(screen.topLeft(), screen.bottomRight());
    wallpaper.setColorAt(0, kBlue.lighter(130));
    wallpaper.setColorAt(1, kBlue.darker(160));
    painter.fillRect(screen, wallpaper);
    IconSwirl(painter, QRectF(screen.center().x() - 14, screen.center().y() - 14, 28, 28), WithAlpha(kWhite, 210));
    QPainterPath glare;
    glare.addPolygon(QPolygonF{screen.topLeft(), QPointF(88, 10.5), QPointF(58, 67.5), screen.bottomLeft()});
    painter.fillPath(glare, QColor(255, 255, 255, 26));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 20, 22));
    painter.drawEllipse(QPointF(75, 7.8), 0.9, 0.9);  // camera

    // Base: deck in perspective, keyboard, touch pad, front edge.
    painter.fillRect(QRectF(30, 72.5, 90, 2.5), QColor(28, 29, 32));  // hinge
    const Trapezoid base{74.5, 24, 126, 99, 5, 145};
    QLinearGradient metal(0, 74.5, 0, 99);
    metal.setColorAt(0, QColor(226, 230, 234));
    metal.setColorAt(1, QColor(196, 202, 208));
    painter.setPen(QPen(QColor(150, 157, 164), 0.8));
    painter.setBrush(metal);
    painter.drawPolygon(base.Quad(0, 0, 1, 1));
    PaintKeyboard(painter, Trapezoid{77, 33, 117, 90, 24.5, 125.5});
    painter.setPen(QPen(QColor(168, 174, 180), 0.7));
    painter.setBrush(QColor(214, 218, 223));
    painter.drawPolygon(Trapezoid{91.8, 62, 88, 97, 60.5, 89.5}.Quad(0, 0, 1, 1));
    QPainterPath front;
    front.addRoundedRect(QRectF(5, 98.5, 140, 5), 2.5, 2.5);
    QLinearGradient edge(0, 98.5, 0, 103.5);
    edge.setColorAt(0, QColor(182, 188, 195));
    edge.setColorAt(1, QColor(128, 134, 141));
    painter.fillPath(front, edge);
    painter.fillRect(QRectF(64, 99, 22, 1.4), QColor(150, 156, 163));  // opening notch
}

void PaintTouchFrame(QPainter& painter, const Cell& cell)
{
    painter.fillRect(cell.rect, kPageBackground);
    painter.translate(cell.rect.topLeft());
    PaintFloorShadow(painter, {70, 88}, 66, 6);

    // Cable from the lower edge to a USB plug; drawn first so the frame covers its start.
    QPainterPath cable(QPointF(108, 80));
    cable.cubicTo(QPointF(108, 97), QPointF(118, 95), QPointF(128, 93));
    painter.strokePath(cable, QPen(QColor(44, 46, 50), 3.2, Qt::SolidLine, Qt::RoundCap));
    painter.strokePath(cable.translated(-0.6, -0.6), QPen(QColor(110, 114, 120), 0.7));
    QPainterPath housing;
    housing.addRoundedRect(QRectF(126, 88.5, 11, 9), 1.5, 1.5);
    painter.fillPath(housing, QColor(34, 35, 38));
    QLinearGradient steel(0, 89.5, 0, 96.5);
    steel.setColorAt(0, QColor(222, 226, 230));
    steel.setColorAt(1, QColor(150, 156, 162));
    painter.fillRect(QRectF(137, 89.5, 9, 7), steel);
    painter.fillRect(QRectF(139, 91.2, 1.8, 1.4), QColor(60, 62, 66));
    painter.fillRect(QRectF(142.4, 91.2, 1.8, 1.4), QColor(60, 62, 66));

    // Bezel, with the rows of emitters and receivers along its inner edge.
    const QRectF outer(5, 4, 126, 80);
    QPainterPath bezel;
    bezel.addRoundedRect(outer, 4, 4);
    QLinearGradient anodised(outer.topLeft(), outer.bottomLeft());
    anodised.setColorAt(0, QColor(86, 90, 97));
    anodised.setColorAt(1, QColor(40, 42, 47));
    painter.fillPath(bezel, anodised);
    painter.strokePath(bezel, QPen(QColor(28, 29, 32), 1));
    const QRectF glass = outer.adjusted(9, 9, -9, -9);
    QLinearGradient sheen(glass.topLeft(), glass.bottomRight());
    sheen.setColorAt(0, QColor(238, 245, 250));
    sheen.setColorAt(1, QColor(196, 212, 226));
    painter.fillRect(glass, sheen);
    QPainterPath glare;
    glare.addPolygon(QPolygonF{glass.topLeft(), QPointF(glass.left() + 48, glass.top()),
                               QPointF(glass.left() + 22, glass.bottom()), glass.bottomLeft()});
    painter.fillPath(glare, QColor(255, 255, 255, 90));
    painter.setPen(QPen(QColor(22, 23, 26), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(glass.adjusted(-0.5, -0.5, 0.5, 0.5));
    painter.setPen(Qt::NoPen);
    const QColor emitter(196, 52, 40);
    for (qreal x = glass.left() + 4; x < glass.right() - 2; x += 6) {
        painter.setBrush(emitter);
        painter.drawEllipse(QPointF(x, outer.top() + 4.5), 0.9, 0.9);
        painter.setBrush(QColor(120, 126, 134));
        painter.drawEllipse(QPointF(x, outer.bottom() - 4.5), 0.9, 0.9);
    }
    for (qreal y = glass.top() + 4; y < glass.bottom() - 2; y += 6) {
        painter.setBrush(emitter);
        painter.drawEllipse(QPointF(outer.left() + 4.5, y), 0.9, 0.9);
        painter.setBrush(QColor(120, 126, 134));
        painter.drawEllipse(QPointF(outer.right() - 4.5, y), 0.9, 0.9);
    }
}

struct PencilTone {
    QColor body, facetLight, facetDark, wood, lead, ferrule, eraser, outline;
};

PencilTone ToneFor(const QColor& tint)
{
    return {tint,
            tint.lighter(122),
            tint.darker(122),
            Mix(QColor(226, 204, 168), tint, 0.45),
            tint.darker(190),
            Mix(QColor(214, 218, 222), tint, 0.35),
            Mix(QColor(226, 150, 150), tint, 0.6),
            tint.darker(170)};
}

// A pencil across the picture, point at the lower left, with a soft shadow on the page.
void PaintPencil(QPainter& painter, const Cell& cell)
{
    painter.fillRect(cell.rect, kPageBackground);
    const PencilTone tone = ToneFor(cell.resource.tint);
    const QPointF centre = cell.rect.center();
    const qreal scale = cell.rect.width() / 200;

    // Pencil in its own frame: x along the pencil (point at -100), y across it.
    constexpr qreal kHalf = 16;
    constexpr qreal kPoint = -100, kLeadEnd = -84, kConeEnd = -56, kBodyEnd = 58, kFerruleEnd = 76, kEnd = 98;
    QPainterPath outline(QPointF(kPoint, 0));
    outline.lineTo(kConeEnd, -kHalf);
    outline.lineTo(kEnd - 6, -kHalf);
    outline.quadTo(kEnd, -kHalf, kEnd, -kHalf + 6);
    outline.lineTo(kEnd, kHalf - 6);
    outline.quadTo(kEnd, kHalf, kEnd - 6, kHalf);
    outline.lineTo(kConeEnd, kHalf);
    outline.closeSubpath();

    const QTransform place = QTransform::fromTranslate(centre.x(), centre.y()).scale(scale, scale).rotate(-45);
    for (const auto& [dx, dy, alpha] : std::array<std::array<int, 3>, 2>{{{7, 9, 16}, {4, 5, 22}}}) {
        painter.fillPath((place * QTransform::fromTranslate(dx * scale, dy * scale)).map(outline),
                         QColor(0, 0, 0, alpha));
    }

    painter.save();
    painter.setTransform(place, true);
    painter.setClipPath(outline);
    painter.setPen(Qt::NoPen);
    // Body in three facets, ferrule with its rings, eraser.
    const qreal third = 2 * kHalf / 3;
    painter.fillRect(QRectF(kConeEnd, -kHalf, kBodyEnd - kConeEnd, third), tone.facetLight);
    painter.fillRect(QRectF(kConeEnd, -kHalf + third, kBodyEnd - kConeEnd, third), tone.body);
    painter.fillRect(QRectF(kConeEnd, -kHalf + 2 * third, kBodyEnd - kConeEnd, third), tone.facetDark);
    QLinearGradient metal(0, -kHalf, 0, kHalf);
    metal.setColorAt(0, tone.ferrule.lighter(125));
    metal.setColorAt(0.45, tone.ferrule);
    metal.setColorAt(1, tone.ferrule.darker(135));
    painter.fillRect(QRectF(kBodyEnd, -kHalf, kFerruleEnd - kBodyEnd, 2 * kHalf), metal);
    for (const qreal x : {kBodyEnd + 4.0, kBodyEnd + 9.0, kBodyEnd + 14.0}) {
        painter.fillRect(QRectF(x, -kHalf, 1.6, 2 * kHalf), tone.ferrule.darker(130));
    }
    QLinearGradient rubber(0, -kHalf, 0, kHalf);
    rubber.setColorAt(0, tone.eraser.lighter(115));
    rubber.setColorAt(1, tone.eraser.darker(125));
    painter.fillRect(QRectF(kFerruleEnd, -kHalf, kEnd - kFerruleEnd, 2 * kHalf), rubber);
    // Sharpened wood cone with its scalloped edge, and the lead.
    QPainterPath cone(QPointF(kPoint, 0));
    cone.lineTo(kConeEnd, -kHalf);
    cone.quadTo(kConeEnd - 5, -kHalf / 2, kConeEnd, 0);
    cone.quadTo(kConeEnd - 5, kHalf / 2, kConeEnd, kHalf);
    cone.closeSubpath();
    QLinearGradient wood(0, -kHalf, 0, kHalf);
    wood.setColorAt(0, tone.wood.lighter(108));
    wood.setColorAt(1, tone.wood.darker(118));
    painter.fillPath(cone, wood);
    painter.fillRect(QRectF(kPoint, -kHalf, kLeadEnd - kPoint, 2 * kHalf), tone.lead);
    painter.restore();

    painter.setTransform(place, true);
    painter.strokePath(outline, QPen(tone.outline, 1.2 / scale));
}

// ---------------------------------------------------------------------------------------------------
// The resource table

const Look kActionLook{.surround = kPageBackground,
                       .top = kGreen.lighter(112),
                       .bottom = kGreen.darker(112),
                       .border = kGreen.darker(130),
                       .ink = kWhite,
                       .radius = 4,
                       .weight = 700,
                       .iconSize = 12};  // the arrow buttons
const Look kStopLook{.surround = kPageBackground,
                     .top = kOrange,
                     .bottom = kRed,
                     .border = kRed.darker(125),
                     .ink = kWhite,
                     .radius = 4,
                     .weight = 700};
const Look kDialogLook{.surround = kPageBackground,
                       .top = QColor(240, 243, 246),
                       .bottom = QColor(212, 219, 225),
                       .border = kGreen,
                       .ink = kDarkText,
                       .radius = 3};
const Look kSubPageLook{.surround = kButtonBar,
                        .top = QColor(228, 239, 250),
                        .bottom = QColor(206, 224, 242),
                        .border = kButtonBarLine,
                        .ink = kDarkText,
                        .radius = 4,
                        .margin = 3,
                        .highlight = kBlue,
                        .accent = kBlue,
                        .accentAtLeft = true};
const Look kKindLook{.surround = kPageBackground,
                     .top = QColor(230, 241, 251),
                     .bottom = QColor(204, 225, 244),
                     .border = QColor(150, 196, 228),
                     .ink = kBlue,
                     .radius = 4,
                     .margin = 3,
                     .weight = 700,
                     .highlight = kBlue};
const Look kNavLook{.top = kBlue,
                    .bottom = kBlue,
                    .ink = kWhite,
                    .iconSize = 22,
                    .accent = kPageBackground};
const Look kGlyphLook{.top = kBlue, .bottom = kBlue, .ink = kWhite, .iconSize = 12};
const Look kCloseLook{.top = kBlue, .bottom = kBlue, .ink = kWhite, .iconSize = 12, .alert = kRed};
const Look kConnectedLook{.surround = kPageBackground,
                          .top = kGreen.lighter(108),
                          .bottom = kGreen.darker(108),
                          .ink = kWhite,
                          .radius = 6,
                          .weight = 700,
                          .iconSize = 22};
const Look kDisconnectedLook{.surround = kPageBackground,
                             .top = kOrange.lighter(108),
                             .bottom = kOrange.darker(108),
                             .ink = kWhite,
                             .radius = 6,
                             .weight = 700,
                             .iconSize = 22};
const Look kTitleLook{.top = kBlue, .bottom = kBlue, .ink = kWhite, .weight = 700, .iconSize = 22, .alignLeft = true};

Resource Strip(int id, int width, int height, int pictures, const Look& look, const char* caption, int fontHeight,
               IconPainter icon = nullptr)
{
    return {.id = id,
            .width = width,
            .height = height,
            .pictures = pictures,
            .look = &look,
            .caption = caption,
            .icon = icon,
            .fontHeight = fontHeight};
}

Resource Picture(int id, int width, int height, Painter paint, const QColor& tint = QColor())
{
    return {.id = id, .width = width, .height = height, .paint = paint, .tint = tint};
}

// Strips of faces: id, strip width and height, pictures, look, caption, caption height, icon.
// Free pictures: id, width and height, painter, colour.
const std::array kResources{
    Picture(504, 150, 117, PaintLaptop),
    Strip(505, 90, 27, 3, kGlyphLook, "", 0, IconDash),
    Strip(506, 126, 27, 3, kCloseLook, "", 0, IconCross),
    Strip(524, 90, 27, 3, kGlyphLook, "", 0, IconWindow),
    Picture(529, 150, 102, PaintTouchFrame),
    Strip(537, 96, 24, 4, kActionLook, "", 0, IconArrowUp),
    Strip(538, 96, 24, 4, kActionLook, "", 0, IconArrowDown),
    Picture(542, 20, 20, PaintLamp, kGreen),
    Picture(543, 20, 20, PaintLamp, kRed),
    Strip(547, 363, 44, 3, kNavLook, "高级功能", 20, IconTools),
    Strip(548, 384, 34, 3, kActionLook, "浏览", 18),
    Strip(549, 300, 25, 4, kDialogLook, "取消", 16),
    Strip(550, 512, 34, 4, kActionLook, "获取校准数据", 18),
    Strip(551, 504, 54, 3, kSubPageLook, "设备校准", 22),
    Strip(552, 608, 52, 4, kActionLook, "校准", 26),
    Strip(553, 363, 44, 3, kNavLook, "柱形图", 20, IconBarChart),
    Strip(554, 230, 40, 1, kConnectedLook, "设备连接正常", 22, IconCheck),
    Strip(555, 230, 40, 1, kDisconnectedLook, "未连接设备", 22, IconExclamation),
    Strip(556, 512, 34, 4, kActionLook, "画图", 18),
    Strip(557, 200, 39, 1, kTitleLook, "绘图设置", 22, IconSwirl),
    Strip(558, 608, 52, 4, kActionLook, "退出", 26),
    Strip(559, 512, 34, 4, kActionLook, "导出到文件", 18),
    Strip(560, 456, 52, 3, kActionLook, "重新检测", 26),
    Strip(561, 363, 44, 3, kNavLook, "首页", 20, IconMonitor),
    Strip(562, 512, 34, 4, kActionLook, "导入到设备", 18),
    Strip(563, 512, 34, 4, kActionLook, "初始化", 18),
    Strip(564, 300, 25, 4, kDialogLook, "否", 16),
    Strip(565, 300, 25, 4, kDialogLook, "确定", 16),
    Strip(566, 608, 52, 4, kActionLook, "重置", 26),
    Strip(567, 200, 39, 1, kTitleLook, "设备校准", 22, IconSwirl),
    Strip(568, 512, 34, 4, kActionLook, "开始", 18),
    Strip(569, 512, 34, 4, kStopLook, "停止", 18),
    Strip(570, 504, 54, 3, kSubPageLook, "固件更新", 22),
    Strip(572, 300, 25, 4, kDialogLook, "是", 16),
    Strip(573, 363, 44, 3, kNavLook, "笔盒", 20, IconPen),
    Picture(575, 200, 200, PaintPencil, QColor(92, 96, 102)),
    Picture(576, 200, 200, PaintPencil, QColor(200, 204, 209)),
    Strip(580, 504, 54, 3, kKindLook, "2 点", 24),
    Strip(581, 504, 54, 3, kKindLook, "9 点", 24),
    Strip(582, 504, 54, 3, kSubPageLook, "算法模拟", 22),
    Strip(585, 200, 39, 1, kTitleLook, "关于 Pindaro", 22, IconSwirl),
    Picture(586, 200, 64, PaintLogo),
    Strip(590, 504, 54, 3, kSubPageLook, "功能设置", 22),
    Strip(597, 512, 34, 4, kActionLook, "Jump", 18),
};

const Resource* Find(int id)
{
    const auto found = std::find_if(kResources.begin(), kResources.end(),
                                    [id](const Resource& resource) { return resource.id == id; });
    return found == kResources.end() ? nullptr : &*found;
}

QImage Render(const Resource& resource)
{
    QImage strip(resource.width, resource.height, QImage::Format_RGB32);
    strip.fill(kPageBackground);
    QPainter painter(&strip);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    const int pictureWidth = resource.width / resource.pictures;
    for (int index = 0; index < resource.pictures; ++index) {
        painter.save();
        const QRectF rect(index * pictureWidth, 0, pictureWidth, resource.height);
        painter.setClipRect(rect);
        resource.paint(painter, Cell{rect, static_cast<State>(index), resource});
        painter.restore();
    }
    return strip;
}

QImage RenderIcon(int size)
{
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintIconTile(painter, QRectF(0, 0, size, size));
    return icon;
}

// Images are drawn once, on first request, by whichever thread asks first.
QImage Cached(std::map<int, QImage>& cache, int key, QImage (*render)(int))
{
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    auto [entry, inserted] = cache.try_emplace(key);
    if (inserted) {
        entry->second = render(key);
    }
    return entry->second;
}

}  // namespace

QImage Artwork::Bitmap(int resourceId)
{
    if (Find(resourceId) == nullptr) {
        return {};
    }
    static std::map<int, QImage> cache;
    return Cached(cache, resourceId, [](int id) { return Render(*Find(id)); });
}

int Artwork::PictureCount(int resourceId)
{
    const Resource* resource = Find(resourceId);
    return resource ? resource->pictures : 0;
}

std::vector<int> Artwork::ResourceIds()
{
    std::vector<int> ids;
    for (const Resource& resource : kResources) {
        ids.push_back(resource.id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

QImage Artwork::ProgramIcon(int size)
{
    constexpr int kLargest = 1024;
    if (size < 1 || size > kLargest) {
        return {};
    }
    static std::map<int, QImage> cache;
    return Cached(cache, size, RenderIcon);
}

std::vector<int> Artwork::ProgramIconSizes()
{
    return {16, 32, 48, 256};
}

}  // namespace zorvane
