#pragma once
// The run-time state of the program, owned by the main window: the chart,
// the interface layer with its image, the speed settings, the chart colours,
// the sensors of the analogue channels, the interpreter and the chip
// simulator. Windows get references to it; nothing here is global.

#include "appearance/colour_set.h"
#include "chip/chip_simulator.h"
#include "engine/interpreter.h"
#include "engine/speed_settings.h"
#include "flowchart/flow_document.h"
#include "interfaces/interface_layer.h"
#include "sensors/sensor_channels.h"

namespace tarvel {

class ProgramState {
public:
    ProgramState(Messages& messages, Clock& clock)
        : doc(&messages),
          sensors(doc, io),
          interpreter(doc, io, clock, messages, speed),
          chip(io, clock, messages, speed)
    {
        io.setSliderLevels(&doc.outputLevels);
        io.setChannelAssignment(&doc.sensorAssignment);
        io.setClock(&clock);
        io.setMessages(&messages);
        // A connect reads the calibration files and identifies the sensors,
        // asking the box which are plugged in.
        io.setEvents(&sensors);
        sensors.setIdReader(&io);
        interpreter.setChannelValues(&sensors);
        chip.setChannels(&sensors);
    }
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    FlowDocument doc;
    InterfaceLayer io;
    SpeedSettings speed;
    ColourSet colours;
    SensorChannels sensors;
    Interpreter interpreter;
    ChipSimulator chip;
    bool downloading() const { return io.flags.downloading; }
    // A chart runs, interpreted or as a simulated chip program: the chart
    // is not to be edited and the outputs are the program's.
    bool programRunning() const { return interpreter.running() || chip.running(); }
};

}  // namespace tarvel
