#pragma once
// The download of a compiled program into the chip system or the Quillo box,
// byte by byte over the link: the connect request ('?' 0) until the
// downloader answers 0 and one more byte, for the single chips that talk live
// the question which chip it is ('C', then 'A' and the chip's byte), then for
// every address '!', the address and the byte, each echoed back, at most one
// every 25 ms. Any failure ends it with an error number in the target's own
// words and the link closed.

#include <cstdint>
#include <string>
#include <vector>

#include "interfaces/model_traits.h"

namespace tarvel {

class Clock;
class InterfaceLayer;
class Messages;
class ProgramState;

// The progress window's side of a download.
class DownloadProgress {
public:
    virtual ~DownloadProgress() = default;
    // The downloading flag is set: the window shows itself.
    virtual void downloadStarted() {}
    // The transfer begins: the gauge at 0, the wait cursor.
    virtual void transferStarted(int /*addresses*/) {}
    // The gauge (0..255) after an address; the window also handles what waits.
    virtual void gaugeMoved(int /*position*/) {}
    // Every byte is in: "Se terminó el descargue", the beep, "Aceptar".
    virtual void downloadDone() {}
    // A failure was reported, or the connect question answered "Cancelar":
    // the window hides.
    virtual void downloadFailed() {}
};

enum class DownloadOutcome {
    Done,
    Failed,     // an error number was shown
    Cancelled,  // "Cancelar" at the connect question
    NotCompiled,
};

// The error numbers of a download.
enum class DownloadError {
    WriteFailed,       // 100: the connect request or the chip question
    NoAnswer,          // 300: nothing answered the connect requests in time
    TransferWrite,     // 400: a write failed during the transfer
    PortNotOpened,     // F00
    WrongAddressEcho,  // 7xx
    WrongByteEcho,     // 8xx
};

// The message of an error number for a target; `address` completes 7xx and 8xx.
std::string downloadErrorText(DownloadKind target, DownloadError error, int address = 0);

inline constexpr const char* kConnectQuestion =
    "No se pudo conectar a Quillo/Vizo/Tolva Chip.  Si el interfaz está ejecutando un programa "
    "descargada, páralo y escoja 'Aceptar'. Si no, escoja 'Cancelar', pruebe la conexión y trate "
    "de nuevo.";
inline constexpr const char* kWrongSmallChip =
    "El dispositivo conectado no es un VIZO18.  Porfavor conecte a VIZO18 o la configuración "
    "apropiada.";
inline constexpr const char* kWrongLargeChip =
    "El dispositivo conectado no es un VIZO28.  Porfavor conecte a VIZO28 o la configuración "
    "apropiada.";
inline constexpr const char* kDownloadDoneText = "Se terminó el descargue";

// The pace of the transfer: between the starts of two addresses.
inline constexpr int kDownloadPaceMs = 25;
// How long the connect requests are repeated.
inline constexpr int kConnectDeadlineMs = 500;

namespace download_bytes {
inline constexpr std::uint8_t kConnect = 0x3F;      // '?', then 0
inline constexpr std::uint8_t kWhichChip = 0x43;    // 'C'
inline constexpr std::uint8_t kChipFollows = 0x41;  // 'A', then the chip's byte
inline constexpr std::uint8_t kStore = 0x21;        // '!', address, byte
// The chip's byte: the 128-byte chip and the 256-byte one.
inline constexpr int kSmallChip = 32;
inline constexpr int kLargeChip = 40;
}  // namespace download_bytes

// Sends an image over the interface layer's link to the chosen interface. The
// downloading flag is set for the whole exchange and cleared at its end; the
// port is opened here and closed at the end, and opened again when a box is
// driven live.
class ChipDownload {
public:
    ChipDownload(InterfaceLayer& io, Clock& clock, Messages& messages);

    void setProgress(DownloadProgress* progress) { progress_ = progress; }
    DownloadOutcome send(const std::vector<std::uint8_t>& image);

private:
    enum class Step { Go, Stop };
    Step connectBox();
    Step checkChip(int imageSize);
    Step transfer(const std::vector<std::uint8_t>& image);
    DownloadOutcome fail(DownloadError error, int address = 0);
    DownloadOutcome fail(const char* text);
    void finish();

    InterfaceLayer& io_;
    Clock& clock_;
    Messages& messages_;
    DownloadProgress* progress_ = nullptr;
    DownloadKind target_ = DownloadKind::None;
    DownloadOutcome outcome_ = DownloadOutcome::Done;
};

struct DownloadResult {
    DownloadOutcome outcome = DownloadOutcome::NotCompiled;
    int faultSymbol = -1;  // a compile fault's symbol, to select and reveal
};

// The download command: test mode ends, the link is let go, the chart is
// compiled for the chosen interface and, when it compiled, downloaded.
DownloadResult downloadChart(ProgramState& state, Messages& messages,
                             DownloadProgress* progress = nullptr);

}  // namespace tarvel
