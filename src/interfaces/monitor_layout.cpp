#include "interfaces/monitor_layout.h"

#include "interfaces/interface_model.h"

namespace tarvel {

LargeMonitor largeMonitorFor(const InterfaceSettings& settings, const MotorEncoding& encoding)
{
    if (!encoding.separateMotorBank) return LargeMonitor::Outputs;
    if (settings.model == ModelContactController && settings.subModel == kContactControllerBasic)
        return LargeMonitor::SmallMotors;
    return LargeMonitor::Motors;
}

bool mfaLayout(int model)
{
    return model == ModelMfa || model == ModelMfaAlt;
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

}  // namespace tarvel
