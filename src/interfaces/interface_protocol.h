#pragma once
// The wire side of the interface layer: one object speaks the protocol of the
// chosen model over the byte link. The layer decides what to send and when;
// this seam turns it into bytes. Until a model's protocol is plugged in, the
// program runs in simulation and nothing here is called.

#include "interfaces/interface_settings.h"

namespace tarvel {

class InterfaceProtocol {
public:
    virtual ~InterfaceProtocol() = default;

    virtual void closeLink() = 0;
    // Opens the port of the settings and performs the model's start-up
    // (handshakes, keep-alives). Failures surface at the first exchange.
    virtual void openLink(const InterfaceSettings& settings, int chipLinkKind) = 0;
    // Whether the MFA extension board (DAC and analogue inputs) answers.
    virtual bool probeMfaBoard() = 0;
    // The model's reset command (Deltronics family).
    virtual void sendReset() = 0;
    virtual void sendOutputByte(int byte) = 0;
    virtual void sendMotorByte(int byte) = 0;
    virtual void sendDac(int value) = 0;
    // One power level: per output, per output pair or per motor by model.
    virtual void sendPower(int index, int percent) = 0;
    // The input byte as the box reports it, or -1 when the read failed.
    virtual int readInputByte() = 0;
    // A raw analogue reading 0..1024, or -1 when the read failed.
    virtual int readAnalogue(int channel) = 0;
};

}  // namespace tarvel
