#pragma once
// The run-time state of the program, owned by the main window: the chart,
// the interface layer with its image, the speed settings, the chart colours,
// the sensors of the analogue channels, the interpreter and the data it
// captures. Windows get references to it; nothing here is global.

#include "appearance/colour_set.h"
#include "datalog/capture_source.h"
#include "datalog/data_capture.h"
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
          captureSource(io, sensors),
          capture(clock, captureSource)
    {
        io.setSliderLevels(&doc.outputLevels);
        io.setChannelAssignment(&doc.sensorAssignment);
        // A connect reads the calibration files and identifies the sensors.
        io.setEvents(&sensors);
        interpreter.setChannelValues(&sensors);
        interpreter.setCapture(&capture);
    }
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    FlowDocument doc;
    InterfaceLayer io;
    SpeedSettings speed;
    ColourSet colours;
    SensorChannels sensors;
    Interpreter interpreter;
    InterfaceCaptureSource captureSource;
    DataCapture capture;
    bool downloading() const { return io.flags.downloading; }
};

}  // namespace tarvel
