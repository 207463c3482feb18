#include "interfaces/monitor_layout.h"

#include "interfaces/model_traits.h"

namespace tarvel {

namespace {
constexpr int kMotorsOfMotorMonitor = 4;       // motors A to D
constexpr int kMotorsOfSmallMotorMonitor = 2;  // motors A and B
}  // namespace

bool fourMotorSliders(const InterfaceSettings& settings)
{
    return modelTraits(settings).fourMotorSliders;
}

LargeMonitor largeMonitorFor(const InterfaceSettings& settings, const MotorEncoding& encoding)
{
    if (!encoding.separateMotorBank) return LargeMonitor::Outputs;
    return fourMotorSliders(settings) ? LargeMonitor::Motors : LargeMonitor::SmallMotors;
}

int motorsShown(LargeMonitor kind)
{
    switch (kind) {
        case LargeMonitor::Motors:
            return kMotorsOfMotorMonitor;
        case LargeMonitor::SmallMotors:
            return kMotorsOfSmallMotorMonitor;
        default:
            return 0;
    }
}

bool mfaLayout(int model)
{
    return modelTraits(model, 0).reversedLamps;
}

bool reducedMonitorWide(int model)
{
    return modelTraits(model, 0).reducedMonitorWide;
}

int itemOfRow(MonitorItem kind, int row, int model)
{
    if (kind != MonitorItem::Motor && mfaLayout(model)) return 7 - row;
    return row;
}

std::string itemLabel(MonitorItem kind, int index, const InterfaceSettings& settings,
                      const InterfaceCaps& caps)
{
    const bool fromZero = settings.numbersFromZero();
    if (kind == MonitorItem::Motor) {
        if (index < 0 || index > 3) return "-";
        if (!fromZero && !caps.hasMotor(index)) return "-";
        return std::string(1, static_cast<char>('A' + index));
    }
    if (index < 0 || index > 7) return "-";
    const int digit = fromZero ? index : index + 1;
    if (!fromZero) {
        const bool present =
            kind == MonitorItem::Input ? caps.hasInputBit(8 + digit) : caps.hasOutputBit(8 + digit);
        if (!present) return "-";
    }
    return std::string(1, static_cast<char>('0' + digit));
}

bool itemOffered(MonitorItem kind, int index, const InterfaceSettings& settings,
                 const InterfaceCaps& caps)
{
    return itemLabel(kind, index, settings, caps) != "-";
}

}  // namespace tarvel
