// libFuzzer target for the configuration record (CONFIGUR.FCF). Besides never
// crashing, a record that reads back is written again as the same eight
// characters, and the interface layer takes whatever it holds as the
// program's selection at start-up without going out of bounds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "interfaces/interface_config.h"
#include "interfaces/interface_layer.h"
#include "interfaces/model_traits.h"
#include "platform/scripted_messages.h"
#include "support/fake_clock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = parseInterfaceConfig(bytes);
    if (!read) {
        if (size >= 8) std::abort();
        return 0;
    }
    const InterfaceSettings& settings = read.value();
    if (serializeInterfaceConfig(settings) != bytes.substr(0, 8)) std::abort();

    // The selection as the window applies it, simulated: no port is opened.
    static ScriptedMessages messages = [] {
        ScriptedMessages m;
        m.recording = false;
        m.cancelQuestions = true;
        return m;
    }();
    test::FakeClock clock;
    InterfaceLayer layer;
    layer.setClock(&clock);
    layer.setMessages(&messages);
    layer.setSensorsDirectory(TARVEL_DATA_DIR "/SENSORS");
    layer.settings = settings;
    layer.applySelection();
    (void)layer.traits();
    (void)layer.canGoLive();
    for (int i = 0; i < 8; ++i) {
        layer.setOutput(i, 1);
        layer.setInput(i, 1);
    }
    for (int m = 0; m < 4; ++m) layer.setMotor(m, 1);
    layer.resetOutputs();
    return 0;
}
