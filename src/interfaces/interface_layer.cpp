#include "interfaces/interface_layer.h"

#include <algorithm>

#include "interfaces/monitor_layout.h"
#include "interfaces/protocols/interface_protocol.h"

namespace tarvel {

void InterfaceLayer::addObserver(IoObserver* observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void InterfaceLayer::removeObserver(IoObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

ModelTraits InterfaceLayer::traits() const
{
    return modelTraits(settings, chipLinkKind());
}

bool InterfaceLayer::isContactControllerType() const
{
    return traits().protocol == ProtocolFamily::ContactController;
}

void InterfaceLayer::connect(bool initOnly)
{
    // After a failure this is a reconnect: what fails in it was reported
    // already, and only a clean one clears the flag.
    const bool reconnect = flags.linkFailed && !reconnecting_;
    if (reconnect) {
        reconnecting_ = true;
        reconnectFailed_ = false;
    }
    closeLink();
    ModelTraits t = traits();
    if (events_) events_->setReducedMonitorLayout(t.reversedLamps);

    encoding = MotorEncoding{};  // no motor bank, outputs mirror motors, flags 1
    sensorDir_ = sensorsDir_ + "/" + std::string(t.sensorSubdirectory);

    if (settings.mode == 0) {
        settings.subModel = 0;
        t = traits();
        encoding.separateMotorBank = true;
        encoding.outputsMirrorMotors = false;
    } else if (settings.mode == 1) {
        encoding = t.encoding;
        useFamily(t.protocol);
        const int connects = ++connects_;
        if (live()) openLive(t);
        // A failed start-up whose handler connected again has done the rest.
        if (connects != connects_) return;
        if (t.sendsSpeedsOnConnect) {
            recomputeOutputPower();
            if (live() && !ioSuppressed()) sendAllPowers();
        }
    }
    applyMotorOption();
    if (!initOnly && events_) {
        events_->reloadSensors(sensorDir_);
        events_->setAutomaticSensors(t.automaticSensors);
        events_->identifySensors();
    }
    if (reconnect) {
        reconnecting_ = false;
        if (!reconnectFailed_) {
            flags.linkFailed = false;
            // Some boxes come up without a word: only an answer proves them.
            unproven_ = true;
        }
    } else if (!reconnecting_) {
        unproven_ = false;
    }
}

void InterfaceLayer::applyMotorOption()
{
    if (!traits().motorOptionWiring) return;
    switch (settings.motorOption) {
        case 1:
            encoding.encodingFlag = {1, 0};
            break;
        case 2:
            encoding.encodingFlag = {0, 0};
            break;
        default:
            encoding.encodingFlag = {1, 1};
            break;
    }
}

void InterfaceLayer::setMotorOption(int option)
{
    settings.motorOption = option;
    applyMotorOption();
    for (int m = 0; m < 4; ++m) refreshMotor(m);
}

void InterfaceLayer::applySelection()
{
    chip_ = nullptr;
    if (modelTraits(settings).usesChipEntry) {
        Result<ChipData> read = loadChipData(sensorsDir_);
        chipData_ = read ? std::move(read.value()) : ChipData{};
        chip_ = chipData_.lookup(settings.subModel);
    }
    connect(false);
    caps_ = computeCaps(settings, chip_, caps_);
    if (traits().usesPinMap) applyPinMapCaps(caps_, pinMap_, settings.numbering);
    if (events_) {
        events_->relabelMonitors();
        events_->invalidateGraph();
    }
}

void InterfaceLayer::setFirmataPinMap(const Result<FirmataPinMap>& map)
{
    if (map) {
        pinMap_ = map.value();
        pinMapRefusal_.reset();
    } else {
        pinMap_ = FirmataPinMap::defaults();
        pinMapRefusal_ = map.refusal();
    }
}

void InterfaceLayer::recomputeOutputPower()
{
    static const std::array<int, 8> kFull{100, 100, 100, 100, 100, 100, 100, 100};
    const std::array<int, 8>& sliders = sliders_ ? *sliders_ : kFull;
    const bool bank = encoding.separateMotorBank;
    // The large motor monitor has a slider per motor; the small one only for
    // motors A and B, so outputs 5-8 run at full power there.
    const bool largeMotorMonitor = traits().fourMotorSliders;
    for (int i = 0; i < 8; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!bank) {
            image_.outputPower[k] = sliders[k];
            continue;
        }
        const auto j = static_cast<std::size_t>(i % 2 ? i - 1 : i);
        image_.outputPower[k] = (largeMotorMonitor || i < 4) ? sliders[j] : 100;
    }
}

void InterfaceLayer::sendAllPowers()
{
    protocol()->sendAllPowers(image_.outputPower);
}

void InterfaceLayer::resetOutputs()
{
    if (!live()) return;
    const ModelTraits t = traits();
    InterfaceProtocol* wire = protocol();
    switch (t.protocol) {
        case ProtocolFamily::ContactController:
            wire->sendOutputs(0);
            if (t.sendsMotorByte) wire->sendMotors(0);
            break;
        case ProtocolFamily::Deltronics:
        case ProtocolFamily::SenseControl:
            wire->sendOutputs(0);
            break;
        case ProtocolFamily::Fischertechnik:
            // Its outputs travel in the motor byte.
            wire->sendMotors(0);
            break;
        case ProtocolFamily::Mfa:
            wire->sendOutputs(0);
            if (image_.mfaBoardPresent) wire->sendDac(0);
            break;
        case ProtocolFamily::Firmata:
            wire->sendOutputs(0);
            break;
        default:
            break;
    }
    recomputeOutputPower();
    if (flags.linkFailed) return;
    if (t.protocol == ProtocolFamily::Deltronics || t.protocol == ProtocolFamily::ContactController)
        sendAllPowers();
    else if (t.protocol == ProtocolFamily::Lego)
        sendMotorPowers();
}

void InterfaceLayer::sendMotorPowers()
{
    for (int m = 0; m < kMotorCount && !ioSuppressed(); ++m)
        protocol()->sendPower(m, image_.outputPower[static_cast<std::size_t>(2 * m)]);
}

bool InterfaceLayer::startRun()
{
    if (!live()) return true;
    const int failuresBefore = failures_;
    // The connect of "&Simular" (or of the last run) stands while it is up.
    // Otherwise this is a new start: a failure in it is reported again.
    if (!linkUp_) {
        flags.linkFailed = false;
        connect(true);
        if (flags.linkFailed) return false;
    }
    const ModelTraits t = traits();
    InterfaceProtocol* wire = protocol();
    switch (t.protocol) {
        case ProtocolFamily::ContactController:
            wire->sendOutputs(0);
            if (t.sendsMotorByte) wire->sendMotors(0);
            recomputeOutputPower();
            sendAllPowers();
            break;
        case ProtocolFamily::Deltronics:
            wire->reset();
            recomputeOutputPower();
            // With a motor bank of its own, one power per motor.
            for (int i = 0; i < kIoCount && !ioSuppressed(); ++i)
                if (!t.encoding.separateMotorBank || i % 2 == 0)
                    wire->sendPower(i, image_.outputPower[static_cast<std::size_t>(i)]);
            break;
        case ProtocolFamily::SenseControl:
            wire->sendOutputs(0);
            break;
        case ProtocolFamily::Mfa:
            wire->sendOutputs(0);
            probeBoard();
            if (image_.mfaBoardPresent) wire->sendDac(0);
            break;
        case ProtocolFamily::Lego:
            recomputeOutputPower();
            sendMotorPowers();
            break;
        case ProtocolFamily::Firmata:
            recomputeOutputPower();
            wire->sendOutputs(0);
            break;
        default:
            break;
    }
    return !flags.linkFailed && failures_ == failuresBefore;
}

void InterfaceLayer::writeOutputs()
{
    const int out = image_.outputByte();
    const int motors = image_.motorByte();
    const ModelTraits t = traits();
    const bool isLive = live();
    // These boxes take their motors (and outputs) from the motor byte alone.
    const bool motorsOnly =
        t.protocol == ProtocolFamily::Lego || t.protocol == ProtocolFamily::Fischertechnik;
    if (isLive && motorsOnly && motors != image_.sentMotorByte) {
        image_.sentMotorByte = motors;
        protocol()->sendMotors(motors);
    }
    if (!isLive) {
        image_.sentOutputByte = out;
        return;
    }
    if (out != image_.sentOutputByte) {
        if (t.protocol != ProtocolFamily::None && t.protocol != ProtocolFamily::Fischertechnik)
            protocol()->sendOutputs(out);
        image_.sentOutputByte = out;
    }
    const bool motorByte =
        t.sendsMotorByte && !(t.protocol == ProtocolFamily::ContactController && flags.linkFailed);
    if (motorByte && motors != image_.sentMotorByte) {
        protocol()->sendMotors(motors);
        image_.sentMotorByte = motors;
    }
    if (t.protocol == ProtocolFamily::Mfa && image_.mfaBoardPresent &&
        image_.dacValue != image_.sentDacValue) {
        protocol()->sendDac(image_.dacValue);
        image_.sentDacValue = image_.dacValue;
    }
}

void InterfaceLayer::pollInputs()
{
    if (!live() || flags.linkFailed) return;
    int byte = protocol()->readInputs();
    if (flags.linkFailed) return;
    if (byte == kNoAnswer) {
        // A box that keeps silent is dead, not merely unchanged.
        if (++silentPolls_ >= kSilentPollLimit) {
            silentPolls_ = 0;
            communicationError();
        }
        return;
    }
    if (byte < 0) return;
    silentPolls_ = 0;
    if (settings.highLow == 1) byte = 255 - (byte & 0xFF);
    if (byte != image_.lastInputByte) {
        image_.lastInputByte = byte;
        for (int i = kIoCount - 1; i >= 0; --i) {
            const int state = (byte >> i) & 1;
            auto& slot = image_.inputs[static_cast<std::size_t>(i)];
            if (slot != state) {
                slot = state;
                notify([&](IoObserver& o) { o.showInput(i, state); });
            }
        }
    }
    readAnalogue();
}

void InterfaceLayer::readAnalogue()
{
    if (assignment_ && std::all_of(assignment_->begin(), assignment_->end(),
                                   [](int a) { return a == kChannelWithoutSensor; }))
        return;
    if (live() && settings.analogueSource == 0) {
        const ModelTraits t = traits();
        // The MFA reads its channels through the extension board.
        if (t.readsAnalogue && (t.protocol != ProtocolFamily::Mfa || image_.mfaBoardPresent) &&
            !ioSuppressed()) {
            std::array<int, kSensorChannels> raw = image_.analogue;
            if (protocol()->readAnalogue(raw))
                for (int c = 0; c < kSensorChannels; ++c)
                    image_.analogue[static_cast<std::size_t>(c)] =
                        std::clamp(raw[static_cast<std::size_t>(c)], 0, 1024);
        }
    } else if (live()) {
        image_.analogue.fill(0);
    }
    for (int c = 0; c < 4; ++c) {
        const auto k = static_cast<std::size_t>(c);
        const bool hasSensor = !assignment_ || (*assignment_)[k] != kChannelWithoutSensor;
        if (image_.analogue[k] != image_.analoguePrevious[k] && hasSensor) {
            image_.analoguePrevious[k] = image_.analogue[k];
            notify([&](IoObserver& o) { o.showValue(c, image_.analogue[k]); });
        }
    }
}

void InterfaceLayer::setPower(int output, int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (output >= 0 && output < 8) image_.outputPower[static_cast<std::size_t>(output)] = percent;
    if (!live() || flags.linkFailed) return;
    const ProtocolFamily family = traits().protocol;
    if (family == ProtocolFamily::Deltronics || family == ProtocolFamily::ContactController ||
        family == ProtocolFamily::Firmata)
        protocol()->sendPower(output, percent);
}

void InterfaceLayer::setMotorPower(int motor, int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (motor >= 0 && motor < 4) {
        image_.outputPower[static_cast<std::size_t>(2 * motor)] = percent;
        image_.outputPower[static_cast<std::size_t>(2 * motor + 1)] = percent;
    }
    if (!live() || flags.linkFailed) return;
    const ProtocolFamily family = traits().protocol;
    if (family == ProtocolFamily::Lego)
        protocol()->sendPower(motor, percent);
    else if (family == ProtocolFamily::Deltronics || family == ProtocolFamily::ContactController ||
             family == ProtocolFamily::Firmata)
        protocol()->sendPower(2 * motor, percent);
}

void InterfaceLayer::allOff()
{
    if (!live() || ioSuppressed()) return;
    protocol()->allOff();
}

void InterfaceLayer::setOutput(int index, int state)
{
    if (index < 0 || index >= 8) return;
    image_.outputs[static_cast<std::size_t>(index)] = state ? 1 : 0;
    notify([&](IoObserver& o) { o.showOutput(index, state ? 1 : 0); });
}

void InterfaceLayer::setMotor(int motor, int state)
{
    if (motor < 0 || motor >= 4) return;
    encoding.setMotorLines(image_, motor, state);
    const int shown = motorState(motor);
    notify([&](IoObserver& o) { o.showMotor(motor, shown); });
}

void InterfaceLayer::setMotorLine(int line, int state)
{
    if (line >= 0 && line < 8) image_.motorLines[static_cast<std::size_t>(line)] = state ? 1 : 0;
}

void InterfaceLayer::resetImage()
{
    for (int i = 0; i < 8; ++i) {
        setOutput(i, 0);
        setInput(i, 0);
    }
    image_.motorLines = {};
    for (int m = 0; m < 4; ++m) setMotor(m, kMotorOff);
    setDac(0);
}

void InterfaceLayer::forgetSentBytes()
{
    image_.sentOutputByte = 0;
    image_.sentMotorByte = 0;
    image_.sentDacValue = 0;
}

void InterfaceLayer::setAnalogueHandled(int channel, int raw)
{
    if (channel < 0 || channel >= 4) return;
    image_.analoguePrevious[static_cast<std::size_t>(channel)] = std::clamp(raw, 0, 1024);
    setAnalogue(channel, raw);
}

void InterfaceLayer::refreshMotor(int motor)
{
    if (motor < 0 || motor >= 4) return;
    const int shown = motorState(motor);
    notify([&](IoObserver& o) { o.showMotor(motor, shown); });
}

void InterfaceLayer::setInput(int index, int state)
{
    if (index < 0 || index >= 8) return;
    image_.inputs[static_cast<std::size_t>(index)] = state ? 1 : 0;
    notify([&](IoObserver& o) { o.showInput(index, state ? 1 : 0); });
}

void InterfaceLayer::setAnalogue(int channel, int raw)
{
    if (channel < 0 || channel >= 4) return;
    image_.analogue[static_cast<std::size_t>(channel)] = std::clamp(raw, 0, 1024);
    notify([&](IoObserver& o) {
        o.showValue(channel, image_.analogue[static_cast<std::size_t>(channel)]);
    });
}

void InterfaceLayer::setPowerShown(int output, int percent)
{
    if (output < 0 || output >= 8) return;
    image_.outputPower[static_cast<std::size_t>(output)] = std::clamp(percent, 0, 100);
    notify([&](IoObserver& o) {
        o.showPower(output, image_.outputPower[static_cast<std::size_t>(output)]);
    });
}

void InterfaceLayer::setDac(int value)
{
    image_.dacValue = std::clamp(value, 0, 255);
    notify([&](IoObserver& o) { o.showDac(image_.dacValue); });
}

}  // namespace tarvel
