#pragma once
// The interface layer: the settings of the chosen interface, its capability
// masks, the run flags, the I/O image and the motor encoding, and the
// operations the rest of the program calls to connect, send outputs, poll
// inputs and switch everything off. In simulation every operation works on the
// image alone; otherwise the protocol of the model's family carries it to the
// box over the link, and every failure on the wire ends in the one
// communication-error handler.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chip/chip_data.h"
#include "interfaces/firmata_pin_map.h"
#include "interfaces/interface_caps.h"
#include "interfaces/interface_link.h"
#include "interfaces/interface_settings.h"
#include "interfaces/io_image.h"
#include "interfaces/model_traits.h"
#include "interfaces/protocols/protocol_context.h"
#include "interfaces/run_flags.h"
#include "interfaces/sensor_id_reader.h"

namespace tarvel {

class InterfaceProtocol;

// The displays that follow the image: monitors, mimics, the data logger.
class IoObserver {
public:
    virtual ~IoObserver() = default;
    virtual void showInput(int /*index*/, int /*state*/) {}
    virtual void showOutput(int /*index*/, int /*state*/) {}
    virtual void showMotor(int /*motor*/, int /*state*/) {}
    virtual void showValue(int /*channel*/, int /*raw*/) {}
    virtual void showDac(int /*value*/) {}
    // The power of an output (or of a motor's first line) changed.
    virtual void showPower(int /*output*/, int /*percent*/) {}
};

// What a selection change asks of the rest of the program.
class InterfaceEvents {
public:
    virtual ~InterfaceEvents() = default;
    virtual void setReducedMonitorLayout(bool /*mfa*/) {}
    // The calibration files of the new sensor sub-directory are to be read.
    virtual void reloadSensors(const std::string& /*sensorDir*/) {}
    virtual void setAutomaticSensors(bool /*on*/) {}
    virtual void identifySensors() {}
    virtual void relabelMonitors() {}
    virtual void invalidateGraph() {}
};

// Channels marked "no sensor" are not read.
inline constexpr int kChannelWithoutSensor = -2;

// Input polls in a row without an answer that are taken for a dead box.
inline constexpr int kSilentPollLimit = 3;

class InterfaceLayer final : public ProtocolContext, public SensorIdReader {
public:
    InterfaceLayer();
    ~InterfaceLayer() override;
    InterfaceLayer(const InterfaceLayer&) = delete;
    InterfaceLayer& operator=(const InterfaceLayer&) = delete;

    // ---- Wiring ----------------------------------------------------------
    // The byte link the boxes are reached through, and the devices of the
    // COM ports; without a link nothing opens.
    void setByteLink(ByteLink* link) { link_.setByteLink(link); }
    void setPortNames(const PortNames& names) { link_.setPortNames(names); }
    void setClock(Clock* clock) { clock_ = clock; }
    void setMessages(Messages* messages) { messages_ = messages; }
    void setLinkShell(LinkShell* shell) { shell_ = shell; }
    // Tests: every family speaks through this protocol instead of its own
    // (null: each family's own again).
    void setProtocol(InterfaceProtocol* protocol) { override_ = protocol; }
    void setEvents(InterfaceEvents* events) { events_ = events; }
    void addObserver(IoObserver* observer);
    void removeObserver(IoObserver* observer);
    // The sensors directory of the configuration; the chip data file and the
    // calibration sub-directories live there.
    void setSensorsDirectory(std::string dir) { sensorsDir_ = std::move(dir); }
    const std::string& sensorsDirectory() const override { return sensorsDir_; }
    // The board pins of the [FIRMATA] section. A refused map is shown each
    // time a board is to be driven with it, and nothing is driven.
    void setFirmataPinMap(const Result<FirmataPinMap>& map);
    const FirmataPinMap& firmataPins() const override { return pinMap_; }
    // The power sliders of the monitors (the document's output levels).
    void setSliderLevels(const std::array<int, 8>* levels) { sliders_ = levels; }
    // The per-channel sensor assignment; -2 marks a channel without sensor.
    void setChannelAssignment(const std::array<int, 4>* assignment) { assignment_ = assignment; }

    // ---- State -------------------------------------------------------------
    InterfaceSettings settings;
    RunFlags flags;
    MotorEncoding encoding;
    // The image is read by all and changed only through the operations below,
    // so every display follows every change.
    const IoImage& image() const { return image_; }

    const InterfaceCaps& caps() const { return caps_; }
    const ChipData& chipData() const { return chipData_; }
    // The chip entry chosen by the settings (model 10), or null.
    const ChipEntry* chosenChip() const { return chip_; }
    int chipLinkKind() const { return chip_ ? chip_->linkKind : 0; }
    // The calibration sub-directory of the chosen model, inside the sensors directory.
    const std::string& sensorDirectory() const { return sensorDir_; }
    // What the chosen model is and does (its row of the model traits table).
    ModelTraits traits() const;
    bool isContactControllerType() const;
    // A box is driven: not simulating, and a protocol is in place.
    bool linkLive() const { return live(); }
    // The chosen model can drive a box ("&Simular" may be cleared): an
    // interface is chosen and its family has a protocol.
    bool canGoLive() const;
    // The port is open and the family's start-up went well, with no failure since.
    bool linkUp() const { return linkUp_; }
    // How often the handler has reported a failure.
    int failureCount() const { return failures_; }

    // ---- Operations --------------------------------------------------------
    // A connect while the link-failed flag is set is a reconnect: its own
    // failures are not reported again, and when it succeeds the flag clears.
    void connect(bool initOnly);
    void applySelection();
    // The wiring of the MFA's motor lines (its module dialog): stored, and for
    // the MFA in use its motors read with the new reverse encoding at once.
    void setMotorOption(int option);
    void resetOutputs();
    // Prepares the interface for a run; false when the link failed.
    bool startRun();
    void writeOutputs();
    void pollInputs();
    void readAnalogue();
    void setPower(int output, int percent);
    void setMotorPower(int motor, int percent);
    void allOff();
    // Recomputes outputPower from the sliders for the interface in use.
    void recomputeOutputPower();
    // "&Simular": on, the box is switched off and let go and the image
    // cleared; off (only with an interface chosen), the image cleared, the
    // interface connected and, during a run, the outputs sent.
    void setSimulate(bool on);
    // Test mode is about to start: after a link failure the boxes that need
    // it are connected again first. False when test mode is to stay off.
    bool prepareTestMode();
    // Test polling stops and the monitors' test boxes are unchecked.
    void endTestMode();
    // The link let go (a download takes the port for itself).
    void releaseLink() { closeLink(); }
    // Opens the chosen port for a download, whatever the model's own profile;
    // false when it cannot be opened.
    bool openForDownload();
    // A keep-alive timer of the shell fired.
    void keepAlive(int timerId);
    // The per-pass service of a run (the keep-alive by the clock).
    void serviceRunTick();

    // ---- The wire ------------------------------------------------------------
    // ProtocolContext: what the protocols work with.
    ByteLink& link() override { return link_.byteLink(); }
    bool overUsb() const override { return link_.overUsb(); }
    Clock& clock() override;
    Messages& messages() override;
    LinkShell& shell() override;
    const InterfaceSettings& interfaceSettings() const override { return settings; }
    const RunFlags& runFlags() const override { return flags; }
    const IoImage& ioImage() const override { return image_; }
    void communicationError() override;
    bool ioSuppressed() const override;
    void reconnect() override;
    void markExchange() override;
    std::int64_t lastExchange() const override { return link_.lastExchange; }
    // SensorIdReader: the IDs the box reports (IdentifySensors).
    std::array<int, kSensorIdChannels> readSensorIds() override;
    const InterfaceLink& interfaceLink() const { return link_; }

    // ---- Changing the image with the displays following ----------------------
    void setOutput(int index, int state);
    void setMotor(int motor, int state);
    void setInput(int index, int state);
    void setAnalogue(int channel, int raw);
    void setDac(int value);
    // Stores and shows a power level without sending it.
    void setPowerShown(int output, int percent);
    int motorState(int motor) const { return encoding.motorState(image_, motor); }
    // Sets one motor line as an output mirrors into it, without showing it:
    // refreshMotor shows the motor once its lines are set.
    void setMotorLine(int line, int state);
    // Shows a motor's state as its two lines now give it.
    void refreshMotor(int motor);
    // A simulated channel value whose change counts as handled already.
    void setAnalogueHandled(int channel, int raw);

    // ---- Resetting ------------------------------------------------------------
    // Outputs, inputs, motors and the analogue output off, every display following.
    void resetImage();
    // Nothing counts as sent: the next bytes travel whatever they are.
    void forgetSentBytes();
    // The next output byte travels even when it looks unchanged (the box may
    // have been switched on or reset since).
    void forceOutputResend() { image_.sentOutputByte = -1; }

private:
    InterfaceProtocol* protocol() const;
    bool live() const { return !flags.simulate && protocol() != nullptr; }
    // The protocol of a family, made when the family changes.
    void useFamily(ProtocolFamily family);
    void closeLink();
    // Opens the port and runs the family's start-up; a failed start-up is
    // reported once.
    void openLive(const ModelTraits& t);
    // The extension-board probe; a line that stays silent is a failed start-up.
    void probeBoard();
    void applyMotorOption();
    void sendAllPowers();
    // The power of motors A-D, for boxes that take one per motor.
    void sendMotorPowers();
    template <typename F>
    void notify(F&& f)
    {
        for (IoObserver* o : observers_) f(*o);
    }

    InterfaceLink link_;
    std::unique_ptr<InterfaceProtocol> own_;
    ProtocolFamily ownFamily_ = ProtocolFamily::None;
    InterfaceProtocol* override_ = nullptr;
    Clock* clock_ = nullptr;
    Messages* messages_ = nullptr;
    LinkShell* shell_ = nullptr;
    // The shell as the protocols see it: keep-alive timers are tracked, so
    // closing the link stops them.
    class ShellRelay;
    std::unique_ptr<ShellRelay> relay_;
    bool linkUp_ = false;
    // A reconnect after a failure is running, and whether it failed too.
    bool reconnecting_ = false;
    bool reconnectFailed_ = false;
    // The link is up again only through the reconnect after a reported
    // failure, and the box has not answered since.
    bool unproven_ = false;
    // A keep-alive timer's exchange is under way.
    bool keepingAlive_ = false;
    int failures_ = 0;
    int silentPolls_ = 0;
    int connects_ = 0;
    InterfaceEvents* events_ = nullptr;
    std::vector<IoObserver*> observers_;
    std::string sensorsDir_ = ".";
    std::string sensorDir_;
    const std::array<int, 8>* sliders_ = nullptr;
    const std::array<int, 4>* assignment_ = nullptr;
    FirmataPinMap pinMap_ = FirmataPinMap::defaults();
    std::optional<Refusal> pinMapRefusal_;
    IoImage image_;
    InterfaceCaps caps_;
    ChipData chipData_;
    const ChipEntry* chip_ = nullptr;
};

}  // namespace tarvel
