#include "pages/PaintChart.h"

#include "signal/ChartColumns.h"
#include "widgets/CellText.h"
#include "widgets/Fonts.h"
#include "widgets/Palette.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QString>

#include <cstdio>

namespace zorvane {
namespace {

const QColor kInk{33, 33, 33};  // base lines, grid, axis texts, the cursor column
const QColor& kHealthyValue = palette::kBlue;
const QColor& kWeakValue = palette::kRed;
const QColor& kStandard = palette::kOrange;
const QColor& kPower = palette::kGreen;
const QColor kFluctuation{163, 73, 164};
const QColor& kCursorLabel = palette::kRed;
const QColor& kParameterText = palette::kOrange;

constexpr int kBaseLineWidth = 2;
constexpr int kAxisTextX = 5;
constexpr int kGridLabelFromRight = 30;
constexpr int kGridLabelAbove = 16;
constexpr int kParametersFromRight = 90;
constexpr int kXParametersY = 15;
constexpr int kBelowXBaseline = 30;  // the Y side's parameters and cursor label
constexpr int kXCursorLabelY = 20;

QString Utf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString Parameters(int a, int b, int c)
{
    return QStringLiteral("%1\u00B7%2\u00B7%3").arg(a).arg(b).arg(c);
}

void PaintSeries(QPainter& painter, const ChartGeometry& geometry, ScanAxis axis, const ScanSeries& series,
                 const QColor& colour)
{
    for (std::size_t i = 0; i < series.size(); ++i) {
        const ColumnRect column = ColumnRectFor(geometry, axis, i, series[i]);
        painter.fillRect(column.x, column.y, column.width, column.height, colour);
    }
}

// Blue at twice the scan's threshold or more, red below; the cursor column dark.
void PaintValueSeries(QPainter& painter, const ChartFrame& frame, ScanAxis axis, const ScanSeries& series)
{
    const std::int32_t threshold = ValueThreshold(frame.selection.direction, frame.info);
    const bool cursorOnAxis = frame.cursorModeOn && frame.cursor.axis == axis;
    for (std::size_t i = 0; i < series.size(); ++i) {
        const ColumnRect column = ColumnRectFor(frame.geometry, axis, i, series[i]);
        const bool underCursor = cursorOnAxis && frame.cursor.index == static_cast<std::int32_t>(i) + 1;
        const QColor& colour = underCursor                             ? kInk
                               : IsHealthyValue(series[i], threshold) ? kHealthyValue
                                                                      : kWeakValue;
        painter.fillRect(column.x, column.y, column.width, column.height, colour);
    }
}

void PaintColumns(QPainter& painter, const ChartFrame& frame)
{
    const ScanSelection& shown = frame.selection;
    const ScanData& data = frame.data;
    if (shown.value) {
        PaintValueSeries(painter, frame, ScanAxis::X, data.xValue);
        PaintValueSeries(painter, frame, ScanAxis::Y, data.yValue);
    }
    const struct {
        bool on;
        const ScanSeries& x;
        const ScanSeries& y;
        const QColor& colour;
    } others[] = {
        {shown.standard, data.xStandard, data.yStandard, kStandard},
        {shown.power, data.xPower, data.yPower, kPower},
        {shown.fluctuation, data.xFluctuation, data.yFluctuation, kFluctuation},
    };
    for (const auto& series : others) {
        if (!series.on)
            continue;
        PaintSeries(painter, frame.geometry, ScanAxis::X, series.x, series.colour);
        PaintSeries(painter, frame.geometry, ScanAxis::Y, series.y, series.colour);
    }
}

void PaintAxes(QPainter& painter, const ChartFrame& frame)
{
    const ChartGeometry& geometry = frame.geometry;
    const int baselines[] = {geometry.xBaseline, geometry.yBaseline};
    for (const int baseline : baselines)
        painter.fillRect(0, baseline - kBaseLineWidth / 2, geometry.width, kBaseLineWidth, kInk);
    DrawCellText(painter, kAxisTextX, geometry.xBaseline + 1, QStringLiteral("X--->"), kInk, Qt::white);
    DrawCellText(painter, kAxisTextX, geometry.yBaseline + 1, QStringLiteral("Y--->"), kInk, Qt::white);
    for (const std::int32_t n : ColumnNumbers(frame.info)) {
        const int x = geometry.columnWidth * (n - 1);
        for (const int baseline : baselines)
            DrawCellText(painter, x, baseline + 1, QString::number(n), kInk, Qt::white);
    }
}

void PaintGrid(QPainter& painter, const ChartGeometry& geometry)
{
    painter.setPen(QPen(kInk, 1, Qt::DotLine));
    for (std::size_t k = 0; k < geometry.gridY.size(); ++k)
        painter.drawLine(1, geometry.gridY[k], geometry.width, geometry.gridY[k]);
    for (std::size_t k = 0; k < geometry.gridY.size(); ++k) {
        const QString label = Utf8(geometry.gridLabels[k % 3]);
        DrawCellText(painter, geometry.width - kGridLabelFromRight, geometry.gridY[k] - kGridLabelAbove, label, kInk,
                 palette::kPageBackground);
    }
}

void PaintTexts(QPainter& painter, const ChartFrame& frame, const ChartFonts& fonts)
{
    const ChartGeometry& geometry = frame.geometry;
    const QColor& background = palette::kPageBackground;
    if (frame.cursorModeOn) {
        painter.setFont(fonts.cursorLabel);
        const int y = frame.cursor.axis == ScanAxis::X ? kXCursorLabelY : geometry.xBaseline + kBelowXBaseline;
        DrawCellText(painter, kAxisTextX, y, Utf8(frame.cursorLabel), kCursorLabel, background);
    }
    const DeviceInfo& info = frame.info;
    const int parametersX = geometry.width - kParametersFromRight;
    painter.setFont(fonts.parameters);
    DrawCellText(painter, parametersX, kXParametersY, Parameters(info.xParamA, info.xParamB, info.xParamC),
             kParameterText, background);
    DrawCellText(painter, parametersX, geometry.xBaseline + kBelowXBaseline,
             Parameters(info.yParamA, info.yParamB, info.yParamC), kParameterText, background);
    DrawCellText(painter, kAxisTextX, 0, Utf8(geometry.captionText), kParameterText, background);
}

}  // namespace

ChartFonts ChartFonts::Make()
{
    // The label and parameter faces are Song style at 16 and 15 points on a 96 dpi screen.
    return {MakeFont(FontFace::Sans, 12), MakeFont(FontFace::Song, 21), MakeFont(FontFace::Song, 20)};
}

void PaintChart(QPainter& painter, const ChartFrame& frame, const ChartFonts& fonts)
{
    const ChartGeometry& geometry = frame.geometry;
    painter.fillRect(0, 0, geometry.width, geometry.height, palette::kPageBackground);
    painter.setFont(fonts.axis);
    PaintAxes(painter, frame);
    PaintColumns(painter, frame);
    PaintGrid(painter, geometry);
    PaintTexts(painter, frame, fonts);
}

}  // namespace zorvane
