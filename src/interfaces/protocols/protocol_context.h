#pragma once
// What a protocol family works with besides its box: the link, the clock, the
// message port, the settings, flags and image of the interface layer, the
// one communication-error handler, and the window's timers (LinkShell). The
// interface layer provides it.

#include <cstdint>
#include <string>
#include <string_view>

#include "interfaces/interface_settings.h"
#include "interfaces/io_image.h"
#include "interfaces/run_flags.h"

namespace tarvel {

class ByteLink;
class Clock;
struct FirmataPinMap;
class Messages;

// The keep-alive timers of the main window.
inline constexpr int kLegoKeepAliveTimer = 700;
inline constexpr int kFischertechnikKeepAliveTimer = 701;
// The Arduino board's reports are read away between runs.
inline constexpr int kFirmataDrainTimer = 702;

// The two texts of the communication-error handler.
inline constexpr std::string_view kLinkErrorText =
    "Hay un error con el interfaz serie.  Reinicie la caja y ejecute de nuevo";
inline constexpr std::string_view kTestLinkErrorText =
    "Error de comunicación de serie, reinicie interfaz y trate de nuevo";

// What the window does for the link. Timers belong to the shell; the core
// asks for them here and the shell calls back (InterfaceLayer::keepAlive).
class LinkShell {
public:
    virtual ~LinkShell() = default;
    // The handler stops the interpreter's timers. A run in progress then ends
    // at its next check, which the shell makes sure comes.
    virtual void stopRunTimers() {}
    // They run again (after a question asked in the middle of a run).
    virtual void resumeRunTimers() {}
    // The handler ended test mode: timer 666 stops and the "Probar" and
    // "Modo de Probar" boxes are unchecked.
    virtual void testModeEnded() {}
    // Starts (or restarts) timer `timerId` with the period, or stops it.
    virtual void startKeepAlive(int /*timerId*/, int /*periodMs*/) {}
    virtual void stopKeepAlive(int /*timerId*/) {}
};

class ProtocolContext {
public:
    virtual ~ProtocolContext() = default;

    virtual ByteLink& link() = 0;
    // The link goes to the USB box (some families treat its failures apart).
    virtual bool overUsb() const = 0;
    virtual Clock& clock() = 0;
    virtual Messages& messages() = 0;
    virtual LinkShell& shell() = 0;
    virtual const InterfaceSettings& interfaceSettings() const = 0;
    virtual const RunFlags& runFlags() const = 0;
    virtual const IoImage& ioImage() const = 0;
    // The sensors directory of the configuration (the Sense and Control
    // system image lives there).
    virtual const std::string& sensorsDirectory() const = 0;
    // Which board pins carry the lines (models whose traits use a pin map).
    virtual const FirmataPinMap& firmataPins() const = 0;

    // The one communication-error handler: a failed write, a missing or wrong
    // acknowledgement, a failed start-up. It may reconnect before it returns.
    virtual void communicationError() = 0;
    // True while the link has failed and is not being reconnected: exchanges
    // are not attempted (the failure was reported once already).
    virtual bool ioSuppressed() const = 0;
    // Connect again (initOnly) after a failure; the link-failed flag is
    // cleared when that connect succeeds.
    virtual void reconnect() = 0;

    // The time of the last good exchange, on the program's millisecond clock.
    virtual void markExchange() = 0;
    virtual std::int64_t lastExchange() const = 0;
};

}  // namespace tarvel
