#include "cli/Arguments.h"
#include "cli/Command.h"
#include "cli/Frame.h"
#include "signal/ChartColumns.h"
#include "signal/OneAcquisition.h"
#include "signal/WeakReceivers.h"

#include <optional>
#include <sstream>

namespace zorvane::cli {
namespace {

constexpr std::pair<std::string_view, ScanDirection> kDirections[] = {
    {"forward", ScanDirection::Forward}, {"middle", ScanDirection::Middle}, {"behind", ScanDirection::Behind}};
constexpr std::pair<std::string_view, SeriesKind> kKinds[] = {
    {"value", SeriesKind::Value}, {"standard", SeriesKind::Standard}, {"power", SeriesKind::Power}};
constexpr std::size_t kValuesPerRow = 16;

const char* AxisName(ScanAxis axis) { return axis == ScanAxis::X ? "X" : "Y"; }

JsonValue::Array Values(const ScanSeries& series) { return {series.begin(), series.end()}; }

void WriteTable(std::ostream& out, ScanAxis axis, const ScanSeries& series)
{
    out << AxisName(axis) << " (" << series.size() << " receivers)\n";
    for (std::size_t first = 0; first < series.size(); first += kValuesPerRow) {
        out.width(5);
        out << first + 1 << ":";
        for (std::size_t i = first; i < std::min(series.size(), first + kValuesPerRow); ++i) {
            out << ' ';
            out.width(3);
            out << series[i];
        }
        out << '\n';
    }
}

void WriteCsv(std::ostream& out, ScanAxis axis, const ScanSeries& series)
{
    for (std::size_t i = 0; i < series.size(); ++i)
        out << AxisName(axis) << ',' << i + 1 << ',' << series[i] << '\n';
}

void ShowSeries(const Invocation& invocation, CliIo& io, const AxisSeries& series, std::string_view direction,
                std::string_view kind)
{
    if (invocation.json) {
        Emit(invocation, io, JsonValue::Object{{"direction", std::string(direction)}, {"kind", std::string(kind)},
                                               {"x", Values(series.x)}, {"y", Values(series.y)}});
    } else if (invocation.Has("--csv")) {
        io.out << "axis,receiver,value\n";
        WriteCsv(io.out, ScanAxis::X, series.x);
        WriteCsv(io.out, ScanAxis::Y, series.y);
    } else {
        WriteTable(io.out, ScanAxis::X, series.x);
        WriteTable(io.out, ScanAxis::Y, series.y);
    }
}

void ShowWeak(const Invocation& invocation, CliIo& io, const std::vector<WeakReceiver>& weak,
              ScanDirection direction, std::string_view directionName, const DeviceInfo& info)
{
    const std::int32_t limit = 2 * ValueThreshold(direction, info);
    if (!invocation.json) {
        io.out << "Receivers below " << limit << " (twice the " << directionName << " threshold): " << weak.size()
               << "\n";
        for (const WeakReceiver& receiver : weak)
            io.out << AxisName(receiver.axis) << ' ' << receiver.number << "  value " << receiver.value << "  "
                   << receiver.position << '\n';
        return;
    }
    JsonValue::Array receivers;
    for (const WeakReceiver& receiver : weak)
        receivers.push_back(JsonValue::Object{{"axis", AxisName(receiver.axis)},
                                              {"receiver", receiver.number},
                                              {"value", receiver.value},
                                              {"position", receiver.position}});
    Emit(invocation, io, JsonValue::Object{{"direction", std::string(directionName)}, {"limit", limit},
                                           {"weak", std::move(receivers)}});
}

Outcome RunSignal(const Invocation& invocation, CliIo& io)
{
    if (!invocation.operands.empty())
        return UsageError("'signal' takes no operand");
    const std::string directionName = invocation.Has("--direction") ? invocation.options.at("--direction") : "middle";
    const std::string kindName = invocation.Has("--kind") ? invocation.options.at("--kind") : "value";
    const auto direction = Lookup(kDirections, directionName);
    const auto kind = Lookup(kKinds, kindName);
    if (!direction)
        return UsageError("invalid direction '" + directionName + "' (forward, middle or behind)");
    if (!kind)
        return UsageError("invalid kind '" + kindName + "' (value, standard or power)");
    const bool weakOnly = invocation.Has("--weak");
    if (weakOnly && *kind != SeriesKind::Value)
        return UsageError("--weak reads Value series; leave out --kind or give --kind value");

    DeviceInfo info;
    if (Outcome connected = ConnectFrame(info); !connected.ok())
        return connected;
    AxisSeries series;
    if (const LinkStatus status = ReadOneAcquisition(GetDeviceProtocol(), *kind, *direction, info, series))
        return DeviceFailure(status, "reading the signal");
    if (!series.CompleteFor(info))
        return {ExitCode::Refused, "the frame ended the signal read early (" + std::to_string(series.x.size()) + " of " +
                                       std::to_string(info.xReceiverCount) + " X and " + std::to_string(series.y.size()) +
                                       " of " + std::to_string(info.yReceiverCount) + " Y values)"};
    if (weakOnly)
        ShowWeak(invocation, io, FindWeakReceivers(*direction, series.x, series.y, info), *direction, directionName, info);
    else
        ShowSeries(invocation, io, series, directionName, kindName);
    return Outcome::Ok();
}

}  // namespace

const CommandSpec& SignalCommand()
{
    static const CommandSpec command{
        "signal",
        "read one acquisition of the receivers' signal; list the weak receivers",
        "Usage: zorvanectl [--simulated] [--json] signal [--direction forward|middle|behind]\n"
        "                                                [--kind value|standard|power] [--csv]\n"
        "       zorvanectl [--simulated] [--json] signal --weak [--direction forward|middle|behind]\n"
        "\n"
        "Reads one series per axis (X, then Y) of the scan direction (default middle, the straight scan)\n"
        "and value kind (default value) and prints it as a table, as CSV lines axis,receiver,value\n"
        "(--csv), or as JSON. The frame is in scan mode only while it reads.\n"
        "\n"
        "--weak lists the receivers whose value is below twice the direction's threshold (the red\n"
        "columns of the signal charts), with their board and position: S(BaordBB-PP)->R(BoardBB-PP)\n"
        "names the emitter's and the receiver's board and position on it. In the oblique scans a value\n"
        "of 2 marks a receiver without a partner and is not listed.\n",
        {{"--direction", true}, {"--kind", true}, {"--csv", false}, {"--weak", false}},
        RunSignal,
    };
    return command;
}

}  // namespace zorvane::cli
