// libFuzzer target for the host side of every protocol family: a box that
// answers each write with the next piece of the input. The first byte chooses
// the interface (every family, with the sub-models that change its wire), the
// rest is a run of the layer's operations and the box's answers to them.
// Besides never crashing, whatever the box says keeps the image, the
// readings and the sensor IDs within their ranges, and no exchange waits
// longer than the link's time-outs (the clock is the link's own).

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "interfaces/interface_layer.h"
#include "interfaces/interface_model.h"
#include "platform/byte_link.h"
#include "platform/scripted_messages.h"
#include "support/fake_clock.h"
#include "support/protocol_harness.h"

namespace {

using namespace tarvel;

// The fuzz input, read from the front: operation codes and answers alike.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return pos_ >= size_; }
    std::uint8_t byte() { return empty() ? 0 : data_[pos_++]; }
    std::span<const std::uint8_t> take(std::size_t n)
    {
        n = std::min(n, size_ - std::min(pos_, size_));
        const std::span<const std::uint8_t> s(data_ + pos_, n);
        pos_ += n;
        return s;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The box: every write is answered by a piece of the input (a length byte,
// then that many bytes). A read that finds nothing costs the link's read
// time-out on the clock, as on a real port.
class FuzzedBox final : public ByteLink {
public:
    FuzzedBox(Input& in, test::FakeClock& clock) : in_(in), clock_(clock) {}

    bool open(const std::string&, const SerialProfile& profile) override
    {
        timeouts_ = profile.timeouts;
        open_ = !refuseOpen;
        pending_.clear();
        return open_;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    int readByte() override
    {
        if (!open_ || pending_.empty()) {
            clock_.advance(timeouts_.readTotalMs(1));
            return -1;
        }
        const int b = pending_.front();
        pending_.pop_front();
        return b;
    }
    std::vector<std::uint8_t> readBlock(int count) override
    {
        std::vector<std::uint8_t> out;
        while (static_cast<int>(out.size()) < count && open_ && !pending_.empty()) {
            out.push_back(pending_.front());
            pending_.pop_front();
        }
        if (static_cast<int>(out.size()) < count)
            clock_.advance(timeouts_.readTotalMs(std::max(count, 0)));
        return out;
    }
    void purge() override { pending_.clear(); }
    bool waitOutputDrained(int) override { return open_; }
    int bytesWaiting() override
    {
        clock_.advance(1);  // asking takes time too: no loop on it stands still
        return open_ ? static_cast<int>(pending_.size()) : 0;
    }
    bool probe(const std::string&) override { return true; }

    bool refuseOpen = false;

protected:
    bool writeBytes(std::span<const std::uint8_t>) override
    {
        if (!open_) return false;
        const std::size_t n = in_.byte();
        for (const std::uint8_t b : in_.take(n)) pending_.push_back(b);
        return true;
    }

private:
    Input& in_;
    test::FakeClock& clock_;
    SerialTimeouts timeouts_;
    bool open_ = false;
    std::deque<std::uint8_t> pending_;
};

struct Choice {
    int model;
    int subModel;
};
// Every family, and the sub-models that speak differently; the chip entries
// of the shipped chip data file that talk the Contact Controller protocol.
constexpr std::array kChoices{
    Choice{ModelDeltronics, kDeltronicsSerial},
    Choice{ModelDeltronics, kDeltronicsJunior},
    Choice{ModelDeltronics, kDeltronicsSerialPlus},
    Choice{ModelDeltronics, kDeltronicsDigitalAdaptor},
    Choice{ModelSenseControl, 0},
    Choice{ModelMfa, 0},
    Choice{ModelMfaAlt, 0},
    Choice{ModelContactController, kContactControllerPlus},
    Choice{ModelContactController, kContactControllerBasic},
    Choice{ModelTolvaChip, 3},
    Choice{ModelTolvaChip, 4},
    Choice{ModelLego, 0},
    Choice{ModelFischertechnik, 0},
    Choice{ModelQuillo, 0},
};

void checkImage(const InterfaceLayer& layer)
{
    const IoImage& image = layer.image();
    for (const int raw : image.analogue)
        if (raw < 0 || raw > 1024) std::abort();
    for (const int in : image.inputs)
        if (in != 0 && in != 1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    const Choice choice = kChoices[in.byte() % kChoices.size()];

    test::FakeClock clock;
    FuzzedBox box(in, clock);
    ScriptedMessages messages;
    messages.recording = false;
    messages.cancelQuestions = true;
    test::RecordingShell shell;
    InterfaceLayer layer;
    layer.setByteLink(&box);
    layer.setClock(&clock);
    layer.setMessages(&messages);
    layer.setLinkShell(&shell);
    layer.setSensorsDirectory(TARVEL_DATA_DIR "/SENSORS");
    layer.settings.mode = 1;
    layer.settings.model = choice.model;
    layer.settings.subModel = choice.subModel;
    layer.applySelection();
    layer.setSimulate(false);

    // A bounded run of operations: every one ends within its time-outs.
    for (int step = 0; step < 64 && !in.empty(); ++step) {
        const std::int64_t before = clock.now;
        const std::uint8_t op = in.byte();
        const int arg = in.byte();
        switch (op % 16) {
            case 0:
                (void)layer.startRun();
                break;
            case 1:
                layer.setOutput(arg % 8, (arg >> 3) & 1);
                layer.writeOutputs();
                break;
            case 2:
                layer.pollInputs();
                break;
            case 3:
                layer.readAnalogue();
                break;
            case 4:
                for (const int id : layer.readSensorIds())
                    if (id < kSensorIdAbsent || id > 0xFFFF) std::abort();
                break;
            case 5:
                layer.allOff();
                break;
            case 6:
                layer.keepAlive(arg & 1 ? kLegoKeepAliveTimer : kFischertechnikKeepAliveTimer);
                break;
            case 7:
                layer.serviceRunTick();
                break;
            case 8:
                layer.setPower(arg % 8, arg % 101);
                break;
            case 9:
                layer.setMotorPower(arg % 4, arg % 101);
                break;
            case 10:
                layer.resetOutputs();
                break;
            case 11:
                layer.setMotor(arg % 4, arg / 4 % 3);
                layer.writeOutputs();
                break;
            case 12:
                (void)layer.prepareTestMode();
                break;
            case 13:
                // Unplugged or plugged in again, then "&Simular" off and on.
                box.refuseOpen = arg & 1;
                layer.setSimulate(true);
                layer.setSimulate(false);
                break;
            case 14:
                layer.setDac(arg);
                break;
            default:
                clock.advance(arg * 10);
                break;
        }
        checkImage(layer);
        // Two minutes is far beyond any exchange's time-outs and retries.
        if (clock.now - before > 120000 && op % 16 != 15) std::abort();
    }
    layer.setSimulate(true);
    return 0;
}
