#pragma once
// The keypads of the symbol editors. Every key appends one token of the
// command text; afterwards only the keys that may follow stay enabled, so a
// keypad can only build texts the interpreter reads. Keys are numbered by
// their bit in a 32-bit key set; "Aceptar" is bit 2 and "Borrar" bit 4 on
// every keypad. A command is complete when only those two are enabled.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "interfaces/interface_caps.h"
#include "interfaces/model_traits.h"

namespace tarvel {

namespace key {
inline constexpr int Accept = 2;
inline constexpr int Clear = 4;
constexpr int digit(int d)
{
    return 8 + d;
}
inline constexpr int FirstDigit = 8;
inline constexpr int LastDigit = 17;

// The output keypad.
namespace out {
inline constexpr int Sal = 0, Send = 1, Turn = 5, Output = 6, Motor = 7, On = 18, Off = 19,
                     Forward = 20, Reverse = 21, Sound = 26, Dac = 27;
}
// The process keypad.
namespace proc {
inline constexpr int Val = 1, Delay = 5, Let = 6, Point = 7, Plus = 18, Minus = 19, Times = 20,
                     Divide = 21, Equals = 30, Sub = 31;
}
// The decision keypad.
namespace deci {
inline constexpr int In = 0, Margin = 1, Point = 3, Is = 5, Input = 6, Val = 7, On = 18, Off = 19,
                     Greater = 20, Less = 21, Equals = 30, NotEquals = 31;
}
}  // namespace key

constexpr std::uint32_t keyBit(int bit)
{
    return 1u << bit;
}

constexpr std::uint32_t keySet(std::initializer_list<int> bits)
{
    std::uint32_t keys = 0;
    for (const int b : bits) keys |= keyBit(b);
    return keys;
}

namespace key {
// The digit keys "0".."9".
inline constexpr std::uint32_t Digits = 0x3FF00u;
// The motor letters "A".."D" of the output keypad (as the motor mask has them).
inline constexpr std::uint32_t MotorLetters = 0x3C00000u;
// What a finished command offers: "Aceptar" and "Borrar".
inline constexpr std::uint32_t Finished = keySet({Accept, Clear});
}  // namespace key

// What the keypads need to know about the chosen interface.
struct KeypadContext {
    int model = 0;
    int subModel = 0;
    int chipLinkKind = 0;
    InterfaceCaps caps;

    ModelTraits traits() const { return modelTraits(model, subModel, chipLinkKind); }
    // The models whose keypads are cut down to what their chips run.
    bool restricted() const { return traits().restrictedKeypads; }
    ChipKeys chipKeys() const { return traits().chipKeys; }
};

// The shared part: the text, the step, the enabled keys.
class Keypad {
public:
    explicit Keypad(const KeypadContext& context) : ctx_(context) {}
    virtual ~Keypad() = default;

    // Opens on a symbol's text: an empty one starts at step 0, any other is
    // shown complete (Borrar starts again).
    void open(std::string_view text);
    // "Borrar".
    void clear();
    // Presses a key; false (and nothing changes) when it is not enabled.
    // "Aceptar" and "Borrar" are the panel's own business apart from this.
    bool press(int bit);

    std::uint32_t enabled() const { return enabled_; }
    bool isEnabled(int bit) const { return (enabled_ >> bit) & 1u; }
    bool complete() const { return enabled_ == key::Finished; }
    const std::string& text() const { return text_; }
    int step() const { return step_; }
    const KeypadContext& context() const { return ctx_; }
    void setContext(const KeypadContext& context) { ctx_ = context; }

    // The letter a variable key stands for, or 0.
    virtual char variableOf(int bit) const;
    // The key set of the variables (all eight, or x and y on restricted models).
    virtual std::uint32_t variableKeys() const;

protected:
    virtual void begin() = 0;
    virtual void key(int bit) = 0;

    void offer(std::uint32_t keys) { enabled_ = keys | keyBit(key::Clear); }
    void finish() { enabled_ = key::Finished; }
    void append(std::string_view s) { text_ += s; }
    void appendDigit(int bit) { text_ += digitOf(bit); }
    static bool isDigitKey(int bit) { return bit >= key::FirstDigit && bit <= key::LastDigit; }
    static char digitOf(int bit) { return static_cast<char>('0' + bit - key::FirstDigit); }
    std::uint32_t allVariables() const;

    KeypadContext ctx_;
    std::string text_;
    int step_ = 0;
    int mode_ = 0;
    bool list_ = false;
    std::uint32_t enabled_ = 0;
};

// Output panel: switching outputs, motors, the DAC, the output byte, sounds
// and serial sends.
class OutputKeypad final : public Keypad {
public:
    using Keypad::Keypad;
    char variableOf(int bit) const override;
    std::uint32_t variableKeys() const override;
    // After "&Envie": the "Enviar Serie" dialog's result (the command is then
    // complete), or nothing when it was cancelled (step 0 again).
    void sendChosen(const std::string* result);

protected:
    void begin() override;
    void key(int bit) override;

private:
    // One handler per step of the command.
    void onStart(int bit);
    void onTurn(int bit);
    void onItem(int bit);
    void onMotorLetter(int bit);
    void onMotorDirection(int bit);
    void onMotorSpeed(int bit);
    void onDac(int bit);
    void onSound(int bit);

    std::uint32_t outputItems() const;
    std::uint32_t motorLetters() const { return ctx_.caps.motorMask & key::MotorLetters; }
    void afterDirection();
    void number(int bit, int most);

    std::uint32_t usedItems_ = 0;
    int items_ = 0;
    int clause_ = 1;
    int digits_ = 0;
    bool awaitingItem_ = false;
};

// Process panel: delays, assignments and sub calls.
class ProcessKeypad final : public Keypad {
public:
    using Keypad::Keypad;
    // After "&Sub": the chosen entry of the sub menu ("3(luz)").
    void subChosen(std::string_view entry);
    bool wantsSubMenu() const { return mode_ == kSubMenu; }

protected:
    void begin() override;
    void key(int bit) override;

private:
    static constexpr int kSubMenu = 30;
    // One handler per step of the command.
    void onStart(int bit);
    void onDelay(int bit);
    void onTarget(int bit);
    void onEquals(int bit);
    void onFirstOperand(int bit);
    void onOperator(int bit);
    void onSecondOperand(int bit);
    void onNumber(int bit);
    void onChannel(int bit);
    void onRepeat(int bit);
    void onRepeatMore(int bit);
    // A number starts with this digit key.
    void startNumber(int bit);

    int target_ = -1;
    int digits_ = 0;
    bool point_ = false;
};

// Decision panel: inputs, channels, the margin and variables compared.
class DecisionKeypad final : public Keypad {
public:
    using Keypad::Keypad;

protected:
    void begin() override;
    void key(int bit) override;

private:
    // What the left side compares.
    enum class Compared { Nothing, Margin, Variable, Value, In };

    // One handler per step of the command.
    void onStart(int bit);
    void onWhat(int bit);
    void onInputItem(int bit);
    void onInputState(int bit);
    void onLeftChannel(int bit);
    void onOperator(int bit);
    void onInEquals(int bit);
    void onInVariable(int bit);
    void onRight(int bit);
    void onNumber(int bit);
    void onRightChannel(int bit);

    void compare(Compared left, std::string_view text);
    void rightOperand();
    void marginNumber(int bit);
    Compared left_ = Compared::Nothing;
    int keys_ = 0;
    bool point_ = false;
};

}  // namespace tarvel
