#pragma once
// The working state of one compile, shared by the compiler's files: the driver
// and tables (chip_compiler.cpp), the symbols' own bytes (chip_symbols.cpp) and
// decisions (chip_decisions.cpp). Internal to the chip compiler.

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chip/chip_compiler.h"
#include "chip/chip_layout.h"
#include "chip/chip_numbers.h"

namespace tarvel {
class FlowDocument;
struct FlowSymbol;
}  // namespace tarvel

namespace tarvel::chipc {

inline constexpr int kMaxStarts = 4;
inline constexpr int kCodeStart = kChipCodeStart;
inline constexpr int kJumpEntries = kChipJumpEntries;
inline constexpr int kDelayEntries = kChipDelayEntries;
inline constexpr int kSubEntries = kChipSubEntries;
inline constexpr int kConstantSlots = kChipConstantSlots;
// A symbol may only start this far below the next free jump entry.
inline constexpr int kCodeMargin = 5;
inline constexpr std::uint8_t kLastByte = kChipLastByte;

// Lowest constant slot each loading opcode can address.
inline constexpr int kSlotsForVariables = 0;  // 0x60+k, 0x70+k
inline constexpr int kSlotsForB = 4;          // 0x40+k: 0x40..0x43 load other things
inline constexpr int kSlotsForA = 5;          // 0x80+k: 0x80..0x84 load other things

enum class Exit { Plain = 0, Yes = 1, No = 2 };

class Compiler {
public:
    Compiler(const FlowDocument& doc, const ChipTarget& target, const ChannelScale* scale);
    ChipCompileResult run(Messages& messages);

private:
    friend class FaultScope;

    // ---- driver (chip_compiler.cpp) ----
    void buildTables();
    std::vector<int> collectStarts() const;
    void compileStarts(const std::vector<int>& starts);
    void compileSubs();
    void checkNesting();
    int next(int symbol, Exit exit) const;

    // CompileSymbol: the symbol's code, and its successors', unless compiled
    // before; returns its address.
    int compileSymbol(int symbol);
    // A branch: the symbol's code here, or a jump to it when it was compiled before.
    void emitBranch(int symbol);
    // Whether the symbol's own bytes come to exactly one, found by compiling
    // them and taking them back.
    bool compilesToOneByte(int symbol);

    // ---- emission and tables (chip_compiler.cpp) ----
    void emit(int byte);
    void emitJump(int target);
    int jumpByte(int target);  // skip dialect: 0xC0 + the entry holding target
    int delaySlot(int tenthsOrHundredths);
    int constantSlot(int value, int lowest);
    // The byte that loads a value into A or B from a constant slot that
    // register's opcode reaches; -1 when the value is refused or no slot is left.
    int constantLoad(std::uint64_t value, bool intoA);
    bool direct() const { return target_.dialect == ChipDialect::Direct; }
    bool inSub() const { return currentSub_ > 0; }
    void fail(std::string_view caption, std::string text);
    bool failed() const { return fault_.has_value(); }

    // ---- the symbols' own bytes (chip_symbols.cpp) ----
    void translateOwn(int symbol);
    void translateOutput(std::string_view text);
    void switchOutputs(std::string_view text);
    void driveMotors(std::string_view text, std::size_t firstLetter);
    void sendSerial(std::string_view text);
    void setOutputByte(std::string_view text);
    void translateProcess(std::string_view text);
    void delay(std::string_view text);
    void let(std::string_view text);
    void callSub(std::string_view text);
    void callRepeated(int sub, int count);
    void stopByte(std::string_view text);
    // A value the chip holds in one byte; refuses a larger one.
    bool fitsByte(std::uint64_t value);

    // ---- decisions (chip_decisions.cpp) ----
    void compileDecision(int symbol);
    void skipInputTest(int symbol, std::string_view text);
    void directInputTest(int symbol, std::string_view text);
    void skipComparison(int symbol, std::string_view text);
    void directComparison(int symbol, std::string_view text);
    // Skip dialect: F inline after condition a (skips when the answer selects
    // S), S after condition b (skips when it selects F).
    void layoutSkip(int f, int s, int a, int b);
    // Direct dialect: the condition jumps to `taken`; `notTaken` follows inline.
    void layoutDirect(int condition, int taken, int notTaken);
    int channelByte(int channel, const Decimal& value) const;
    bool isPathEnd(int symbol) const;

    const FlowDocument& doc_;
    const ChipTarget target_;
    const ChannelScale* scale_;

    int size_ = 256;
    int jumpBase_ = 0, delayBase_ = 0, subBase_ = 0, constBase_ = 0;
    std::vector<std::uint8_t> image_;
    std::vector<int> symbolAt_;
    std::vector<int> address_;  // per symbol; 0 = not compiled yet
    std::vector<std::array<int, 3>> next_;
    std::array<int, kSubEntries + 1> subHead_{};  // head symbol of subs 1..16, -1 none

    int emit_ = kCodeStart;
    int nextJump_ = kJumpEntries - 1;
    int delayCount_ = 0;
    std::array<bool, kConstantSlots> constantUsed_{};
    int currentSub_ = -1;  // -1: the main program
    // calls_[i][j]: sub i+1 calls sub j+1; repeated_: with a repeat count, and
    // the symbol of the first such call.
    std::array<std::array<bool, kSubEntries>, kSubEntries> calls_{};
    std::array<std::array<int, kSubEntries>, kSubEntries> repeated_{};

    int faultSymbol_ = -1;  // the symbol being translated
    std::optional<CompileFault> fault_;
};

// Makes a symbol the one at fault for what is compiled while it lives.
class FaultScope {
public:
    FaultScope(Compiler& c, int symbol) : c_(c), saved_(c.faultSymbol_) { c.faultSymbol_ = symbol; }
    ~FaultScope() { c_.faultSymbol_ = saved_; }
    FaultScope(const FaultScope&) = delete;
    FaultScope& operator=(const FaultScope&) = delete;

private:
    Compiler& c_;
    int saved_;
};

// A message with one number or letter filled in.
template <typename T>
std::string formatMessage(const char* pattern, T value)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, pattern, value);
    return buf;
}

// Messages of the compile, in the program's words.
namespace text {
inline constexpr std::string_view TooManyStarts =
    "Hay más que 4 inicies en el diagrama de flujo, solamente se compilarán las primeras 4";
inline constexpr std::string_view NoStart = "Debe tener un Inicie para compilar el diagrama";
inline constexpr std::string_view NoStartLine = "No hay una línea de este inicie";
inline constexpr std::string_view CodeOverflow = "Desbordamiento de codo";
inline constexpr std::string_view JumpOverflow =
    "Desbordamiento de bifurcar, intente restructurar en más sub-rutas";
inline constexpr std::string_view MissingLine = "Hay una línea que falta de este símbolo";
inline constexpr std::string_view StartAsSuccessor = "No se puede ir a un inicie";
inline constexpr std::string_view TooManyDelays = "Hay demasiadas tardanzas con valores diferentes";
inline constexpr std::string_view TooManyConstants = "Se usó demasiado constantes";
inline constexpr std::string_view ProcessError = "Error analizando el proceso";
inline constexpr std::string_view DecisionError = "Error analizando decisión";
inline constexpr std::string_view DirectDecisionError =
    "Error analizando decisión. Note que solamente los variables 'x' e 'y' se pueden usar para "
    "este interfaz.";
inline constexpr std::string_view MissingYes = "Se falta una línea SI en éste símbolo";
inline constexpr std::string_view MissingNo = "Se falta una línea NO en éste símbolo";
inline constexpr std::string_view NestedRepeats =
    "Repeated sub call overflow, you cannot have more than two nested, repeated subroutines - "
    "use variables to explicitly count.";
// Refusals where the chip would otherwise do something other than the chart says.
inline constexpr const char* ValueTooLarge =
    "El número %llu es demasiado grande: el chip solamente guarda números de 0 a 255";
inline constexpr const char* SubOutOfRange =
    "No se puede compilar el Sub %d: el chip solamente tiene los Sub 1 a 16";
inline constexpr const char* SubMissing = "No hay un Sub %d en el diagrama para llamar";
inline constexpr const char* NoMotorSpeed = "Este chip no puede cambiar la velocidad del motor %c";
}  // namespace text

}  // namespace tarvel::chipc
